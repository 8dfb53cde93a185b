/* Gives system.ini back the mouse line setup replaced, as the way back reads it (an
   empty line: setup added the line, it goes), and the stock VMOUSE.VXD its name. A
   mouse line changed since setup is left alone. */
#include <stdio.h>
#include "uninstall.h"
#include "../shared/system_ini.h"
#include "../shared/prior_values.h"
#include "../shared/path_names.h"
#include "../shared/bounded_text.h"
#include "../shared/setup_state.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

#define LINE_SIZE RECORD_VALUE_SIZE

static int RestoreMouseLine(int (*lineBefore)(char *old, int *known))
{
    char current[LINE_SIZE], old[LINE_SIZE + 1], ini[INI_PATH_SIZE];
    int found, known;
    WindowsFilePath("system.ini", ini);
    if (!ReadSystemIniMouseLine("system.ini", current, sizeof current, &found))
        return NoteFailure(IDS_CANNOTREAD, ini);
    if (!found || lstrcmpA(current, NEW_MOUSE_LINE) != 0)
        return 1;   /* not setup's line (any more) */
    if (!lineBefore(old, &known))
        return 0;
    if (!known) {
        SetLastError(ERROR_NOT_FOUND);
        return NoteFailure(IDS_NOMOUSELINE, ini);
    }
    if (old[0])
        AppendText(old, sizeof old, "\n");   /* empty: setup added the line, it goes */
    /* only the first section's; a further [386Enh] section keeps what it has */
    return ReplaceSystemIniMouseLine(old, 0);
}

/* VMOUSE.VXD gets its name back from VMOUSE.BAK, unless it has one; 0, noted, when it
   cannot, or when it cannot be told. */
static int RestoreVmouse(int setAside)
{
    char vxd[VMOUSE_PATH_SIZE], bak[VMOUSE_PATH_SIZE];
    DWORD bakThere, vxdThere;
    /* a system directory whose name does not fit is one setup could not use either */
    if (!setAside || !FindVmousePaths(vxd, bak))
        return 1;
    if (!ToldAttributes(bak, &bakThere) || !ToldAttributes(vxd, &vxdThere))
        return 0;
    if (bakThere == INVALID_FILE_ATTRIBUTES || vxdThere != INVALID_FILE_ATTRIBUTES)
        return 1;
    if (rename(bak, vxd) != 0)
        return NoteFailure(IDS_CANNOTCHANGEFILE, bak);
    return 1;
}

/* VMOUSE.VXD first: set aside, it stays only while system.ini holds setup's line, which
   then stays too. */
int RestoreSystemIni(int (*lineBefore)(char *old, int *known), int setAside)
{
    return RestoreVmouse(setAside) && RestoreMouseLine(lineBefore);
}
