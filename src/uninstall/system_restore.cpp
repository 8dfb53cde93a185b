/* Gives system.ini back the mouse line setup replaced, as the installed SETUP.INF
   records it (an empty record: setup added the line, it goes); installations made
   before the record existed go by the system.bak setup left. The stock VMOUSE.VXD gets
   its name back. A mouse line changed since setup is left alone. */
#include <stdio.h>
#include "uninstall.h"
#include "../shared/system_ini.h"
#include "../shared/prior_values.h"
#include "../shared/bounded_text.h"
#include "../shared/setup_state.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

#define LINE_SIZE RECORD_VALUE_SIZE

/* The mouse line from before setup: 1 and the line (empty when there was none); -1
   when the record cannot be read. */
static int LineBeforeSetup(char *old)
{
    int recorded = ReadRecordedValue(SYSTEM_RECORD, MOUSE_LINE_KEY, old);
    if (recorded)
        return recorded;
    return ReadSystemIniMouseLine("system.bak", old, LINE_SIZE);
}

static void RestoreMouseLine(void)
{
    char current[LINE_SIZE], old[LINE_SIZE + 1], failed[INI_PATH_SIZE];
    if (!ReadSystemIniMouseLine("system.ini", current, sizeof current) ||
        lstrcmpA(current, "mouse=*vmouse") != 0)
        return;   /* not setup's line (any more) */
    CopyText(failed, sizeof failed, SetupState.WindowsDir);
    AppendText(failed, sizeof failed, "\\system.ini");
    int known = LineBeforeSetup(old);
    if (known <= 0) {
        if (known < 0)
            InstalledScriptPath(failed, sizeof failed);
        NoteFailure(known < 0 ? IDS_CANNOTREAD : IDS_NOMOUSELINE, failed);
        return;
    }
    if (old[0])
        AppendText(old, sizeof old, "\n");   /* empty: setup added the line, it goes */
    /* only the first section's; a further [386Enh] section keeps what it has */
    if (ReplaceSystemIniMouseLine(old, 0, failed) != MOUSE_LINE_REPLACED)
        NoteFailure(IDS_CANNOTRESTOREFILE, failed);
}

static void RestoreVmouse(void)
{
    char vxd[VMOUSE_PATH_SIZE], bak[VMOUSE_PATH_SIZE];
    /* a system directory whose name does not fit is one setup could not use either */
    if (!FindVmousePaths(vxd, bak) || GetFileAttributesA(bak) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(vxd) != INVALID_FILE_ATTRIBUTES)
        return;
    if (rename(bak, vxd) != 0)
        NoteFailure(IDS_CANNOTRESTOREFILE, bak);
}

void RestoreSystemIni(void)
{
    RestoreMouseLine();
    RestoreVmouse();
}
