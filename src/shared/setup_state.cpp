#include "setup_state.h"

SETUPSTATE SetupState;
