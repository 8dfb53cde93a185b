/* Points Windows at the virtual mouse driver: the mouse line of system.ini becomes
   "mouse=*vmouse", or is added (the old file kept as system.bak), and the stock
   VMOUSE.VXD is set aside. The mouse line it replaces is written down first, in the
   install log and in the installed SETUP.INF's record, so that the uninstaller can
   put it back whatever becomes of system.bak. */
#include <stdio.h>
#include <windows.h>
#include "system_patch.h"
#include "run_observer.h"
#include "change_log.h"
#include "../shared/system_ini.h"
#include "../shared/ini_rewrite.h"
#include "../shared/prior_values.h"
#include "../shared/failure_note.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/path_names.h"
#include "../../resources/resource.h"

/* The mouse line of the first [386Enh] section, or its absence, into the record. A
   system.ini without such a section, or with a line too long to be recorded, records
   nothing: the uninstaller then goes by system.bak. */
static int RecordMouseLine(void)
{
    char line[RECORD_VALUE_SIZE], path[RECORD_PATH_SIZE], ini[INI_PATH_SIZE];
    int found;
    DWORD attributes;
    WindowsFilePath("system.ini", ini);
    if (!ReadSystemIniMouseLine("system.ini", line, sizeof line, &found))
        return NoteFailure(IDS_CANNOTCHANGEFILE, ini);
    if (!ToldAttributes(ini, &attributes) ||
        !LogIniChange(ini, line, found, NEW_MOUSE_LINE, attributes))
        return 0;
    if (!found || RecordPriorValue(SYSTEM_RECORD, MOUSE_LINE_KEY, line))
        return 1;
    InstalledScriptPath(path, sizeof path);
    return NoteFailure(IDS_CANNOTRECORD, path);
}

/* VMOUSE.VXD becomes VMOUSE.BAK; an existing VMOUSE.BAK is replaced, unless there is no
   VMOUSE.VXD: then the backup may be the stock driver's only copy. */
static int SetVmouseAside(void)
{
    char vxd[VMOUSE_PATH_SIZE], bak[VMOUSE_PATH_SIZE];
    if (!FindVmousePaths(vxd, bak)) {
        char systemDir[MAX_PATH] = "";
        GetSystemDirectoryA(systemDir, sizeof systemDir);
        return NoteFailure(IDS_CANNOTCHANGEFILE, systemDir);
    }
    DWORD attributes;
    if (!ToldAttributes(vxd, &attributes))
        return 0;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (!DeleteFileA(bak)) {
        DWORD error = GetLastError();
        if (!ToldAttributes(bak, &attributes))
            return 0;
        SetLastError(error);
        if (attributes != INVALID_FILE_ATTRIBUTES)
            return NoteFailure(IDS_CANNOTCHANGEFILE, bak);
    }
    if (!LogSetAside(vxd, bak))
        return 0;
    if (rename(vxd, bak) != 0)
        return NoteFailure(IDS_CANNOTCHANGEFILE, vxd);
    TellChange(CHANGE_FILE, bak);
    return 1;
}

static int PatchMouseLine(void)
{
    if (!LogPhase("SYSTEM") || !RecordMouseLine())
        return 0;
    int flags = MOUSE_LINE_EVERY_SECTION | MOUSE_LINE_ADD_MISSING;
    if (!ReplaceSystemIniMouseLine(NEW_MOUSE_LINE "\n", flags))
        return 0;   /* system.ini as it was */
    char change[INI_PATH_SIZE + 32];
    WindowsFilePath("system.ini", change);
    AppendText(change, sizeof change, " [386Enh] " NEW_MOUSE_LINE);
    TellChange(CHANGE_INI, change);
    return SetVmouseAside();
}

/* The last phase: the log is closed after it, whatever became of it. */
int PatchSystemIni(void)
{
    int patched = PatchMouseLine();
    return EndChangeLog() && patched;
}
