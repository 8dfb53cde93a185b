#include "uninstall.h"

UNINSTALLSTATE UninstallState;

int IsSilentCommand(const char *tail)
{
    return tail && tail[0] == '-' && tail[1] == 's';
}
