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

/* The mouse line from before setup: 1 and the line (empty when there was none); 0 when
   neither the record nor system.bak holds it; -1 and the file in failed when one of
   them cannot be read. */
static int LineBeforeSetup(char *old, char *failed)
{
    int known = ReadRecordedValue(SYSTEM_RECORD, MOUSE_LINE_KEY, old);
    if (known < 0)
        InstalledScriptPath(failed, INI_PATH_SIZE);
    if (known)
        return known;
    known = ReadSystemIniMouseLine("system.bak", old, LINE_SIZE);
    if (known < 0)
        WindowsFilePath("system.bak", failed);
    return known;
}

static void RestoreMouseLine(void)
{
    char current[LINE_SIZE], old[LINE_SIZE + 1], failed[INI_PATH_SIZE];
    WindowsFilePath("system.ini", failed);
    int found = ReadSystemIniMouseLine("system.ini", current, sizeof current);
    if (found < 0)
        NoteFailure(IDS_CANNOTREAD, failed);
    if (found <= 0 || lstrcmpA(current, "mouse=*vmouse") != 0)
        return;   /* not setup's line (any more) */
    int known = LineBeforeSetup(old, failed);
    if (known <= 0) {
        NoteFailure(known < 0 ? IDS_CANNOTREAD : IDS_NOMOUSELINE, failed);
        return;
    }
    if (old[0])
        AppendText(old, sizeof old, "\n");   /* empty: setup added the line, it goes */
    /* only the first section's; a further [386Enh] section keeps what it has */
    if (ReplaceSystemIniMouseLine(old, 0, failed) != MOUSE_LINE_REPLACED)
        NoteFailure(IDS_CANNOTRESTOREFILE, failed);
}

/* 0 when the stock VMOUSE.VXD is set aside and cannot get its name back (noted). */
static int RestoreVmouse(void)
{
    char vxd[VMOUSE_PATH_SIZE], bak[VMOUSE_PATH_SIZE];
    /* a system directory whose name does not fit is one setup could not use either */
    if (!FindVmousePaths(vxd, bak) || GetFileAttributesA(bak) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(vxd) != INVALID_FILE_ATTRIBUTES)
        return 1;
    if (rename(bak, vxd) != 0)
        return NoteFailure(IDS_CANNOTRESTOREFILE, bak);
    return 1;
}

/* VMOUSE.VXD first: set aside, it stays only while system.ini holds setup's line, which
   then stays too. */
void RestoreSystemIni(void)
{
    if (RestoreVmouse())
        RestoreMouseLine();
}
