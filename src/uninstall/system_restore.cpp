/* Gives system.ini back what setup changed, from the system.bak setup left: the mouse
   line it replaced, or no mouse line where it added one; and the stock VMOUSE.VXD its
   name. A mouse line changed since setup is left alone. */
#include <stdio.h>
#include "uninstall.h"
#include "../shared/system_ini.h"
#include "../shared/bounded_text.h"

#define LINE_SIZE 256

static void RestoreMouseLine(void)
{
    char current[LINE_SIZE], old[LINE_SIZE];
    if (!ReadSystemIniMouseLine("system.ini", current, sizeof current) ||
        lstrcmpA(current, "mouse=*vmouse") != 0)
        return;   /* not setup's line (any more) */
    if (!ReadSystemIniMouseLine("system.bak", old, sizeof old))
        return;   /* no [386Enh] before setup: nothing to go by */
    if (old[0])
        AppendText(old, sizeof old, "\n");   /* empty: setup added the line, it goes */
    /* only the first section's; a further [386Enh] section keeps what it has */
    if (ReplaceSystemIniMouseLine(old, 0) != MOUSE_LINE_REPLACED)
        NoteFailure();
}

static void RestoreVmouse(void)
{
    char vxd[VMOUSE_PATH_SIZE], bak[VMOUSE_PATH_SIZE];
    if (!FindVmousePaths(vxd, bak) || GetFileAttributesA(bak) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(vxd) != INVALID_FILE_ATTRIBUTES)
        return;
    if (rename(bak, vxd) != 0)
        NoteFailure();
}

void RestoreSystemIni(void)
{
    RestoreMouseLine();
    RestoreVmouse();
}
