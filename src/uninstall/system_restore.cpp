/* Gives system.ini back the mouse line setup replaced, as the installed SETUP.INF
   records it (an empty record: setup added the line, it goes); installations made
   before the record existed go by the system.bak setup left. The stock VMOUSE.VXD gets
   its name back. A mouse line changed since setup is left alone. */
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

/* The mouse line from before setup: 1, and *known 1 with the line (empty when there was
   none), or *known 0 when neither the record nor system.bak holds it; 0, noted, when
   one of them cannot be read. */
static int LineBeforeSetup(char *old, int *known)
{
    char failed[INI_PATH_SIZE];
    if (UninstallState.HasLog)
        return LoggedMouseLine(old, LINE_SIZE, known);
    if (!ReadRecordedValue(SYSTEM_RECORD, MOUSE_LINE_KEY, old, known))
        return NoteRecordFailure(IDS_CANNOTREAD);
    if (*known || ReadSystemIniMouseLine("system.bak", old, LINE_SIZE, known))
        return 1;
    WindowsFilePath("system.bak", failed);
    return NoteFailure(IDS_CANNOTREAD, failed);
}

static int RestoreMouseLine(void)
{
    char current[LINE_SIZE], old[LINE_SIZE + 1], failed[INI_PATH_SIZE];
    int found, known;
    WindowsFilePath("system.ini", failed);
    if (!ReadSystemIniMouseLine("system.ini", current, sizeof current, &found))
        return NoteFailure(IDS_CANNOTREAD, failed);
    if (!found || lstrcmpA(current, NEW_MOUSE_LINE) != 0)
        return 1;   /* not setup's line (any more) */
    if (!LineBeforeSetup(old, &known))
        return 0;
    if (!known) {
        SetLastError(ERROR_NOT_FOUND);
        return NoteFailure(IDS_NOMOUSELINE, failed);
    }
    if (old[0])
        AppendText(old, sizeof old, "\n");   /* empty: setup added the line, it goes */
    /* only the first section's; a further [386Enh] section keeps what it has */
    if (ReplaceSystemIniMouseLine(old, 0, failed) != MOUSE_LINE_REPLACED)
        return NoteFailure(IDS_CANNOTRESTOREFILE, failed);
    return 1;
}

/* VMOUSE.VXD gets its name back from VMOUSE.BAK, unless it has one; 0, noted, when it
   cannot, or when it cannot be told. */
static int RestoreVmouse(void)
{
    char vxd[VMOUSE_PATH_SIZE], bak[VMOUSE_PATH_SIZE];
    DWORD bakThere, vxdThere;
    /* a system directory whose name does not fit is one setup could not use either */
    if (!FindVmousePaths(vxd, bak) || (UninstallState.HasLog && !LoggedSetAside()))
        return 1;   /* with a log: only what it says setup set aside */
    if (!ToldAttributes(bak, &bakThere) || !ToldAttributes(vxd, &vxdThere))
        return 0;
    if (bakThere == INVALID_FILE_ATTRIBUTES || vxdThere != INVALID_FILE_ATTRIBUTES)
        return 1;
    if (rename(bak, vxd) != 0)
        return NoteFailure(IDS_CANNOTRESTOREFILE, bak);
    return 1;
}

/* VMOUSE.VXD first: set aside, it stays only while system.ini holds setup's line, which
   then stays too. */
int RestoreSystemIni(void)
{
    return RestoreVmouse() && RestoreMouseLine();
}
