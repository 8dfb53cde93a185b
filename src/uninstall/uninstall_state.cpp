#include "uninstall.h"

UNINSTALLSTATE UninstallState;

void NoteFailure(void)
{
    UninstallState.Failures++;
}

int IsSilentCommand(const char *tail)
{
    return tail && tail[0] == '-' && tail[1] == 's';
}
