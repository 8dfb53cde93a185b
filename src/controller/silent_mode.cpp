/* The unattended run, "-s" and its options: the wizard's checks, copy, registration
   and system.ini patch without a window; the exit code tells how it ended, and with
   -l the report says what was done and what failed. */
#include <windows.h>
#include "silent_mode.h"
#include "refusals.h"
#include "run_report.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/mouse_app.h"
#include "../shared/command_line.h"
#include "../shared/script_loader.h"
#include "../shared/failure_note.h"
#include "../shared/path_text.h"
#include "../shared/path_names.h"
#include "../install/copy_engine.h"
#include "../install/destination.h"
#include "../shared/install_dir.h"
#include "../install/system_patch.h"
#include "../../resources/resource.h"

struct SilentOptions {
    int mouseKind;        /* 1 serial, 0 PS/2, -1 the script's */
    char dir[256];        /* the destination asked for */
    int dirGiven;
    char report[MAX_PATH];   /* -l: where the report goes; empty: none */
    int restart;
};

/* The path after an option that takes one into path (size bytes); the text after it,
   or 0 when there is none or the reader refuses it. */
static const char *TakeOptionPath(const char *p, char *path, int size)
{
    p = SkipCommandBlanks(p);
    return *p ? CommandWord(p, path, size) : 0;
}

/* The options after "-s"; 0 for an unknown one, a -d or -l without its path or given
   twice, both mouse types, or a word the reader refuses (a quote not closed, a word
   too long to be held whole). */
static int ReadSilentOptions(const char *p, SilentOptions *o)
{
    char word[16];
    *o = SilentOptions();
    o->mouseKind = -1;
    for (p = SkipCommandBlanks(p); *p; p = SkipCommandBlanks(p)) {
        if (!(p = CommandWord(p, word, sizeof word)))
            return 0;
        int kind = !lstrcmpA(word, "-serial") ? 1 : !lstrcmpA(word, "-ps2") ? 0 : -1;
        if (kind >= 0 && (o->mouseKind < 0 || o->mouseKind == kind)) {
            o->mouseKind = kind;
        } else if (!lstrcmpA(word, "-r")) {
            o->restart = 1;
        } else if (!lstrcmpA(word, "-d") && !o->dirGiven) {
            if (!(p = TakeOptionPath(p, o->dir, sizeof o->dir)))
                return 0;
            o->dirGiven = 1;
        } else if (!lstrcmpA(word, "-l") && !o->report[0]) {
            if (!(p = TakeOptionPath(p, o->report, sizeof o->report)) || !o->report[0])
                return 0;
        } else {
            return 0;
        }
    }
    return 1;
}

/* The destination asked for, or the script's default, checked and made as the
   destination page does; an existing directory is taken as it is. */
static int AcceptSilentDestination(const SilentOptions *o)
{
    const char *given = o->dirGiven ? o->dir : SetupState.OfferedDir;
    const char *dir = SetupState.InstallDir;
    return TakeCopyDestination(given, lstrlenA(given)) &&
           PrepareDestination(dir, IsExistingDirectory(dir));
}

/* The unattended run installs what its script describes, never the defaults the
   wizard offers without one: a script that is not there is a reading error, noted
   with its path. */
static int HasScript(void)
{
    char dir[sizeof SetupState.SetupDir], script[MAX_PATH];
    DWORD attributes;
    if (!FindProgramDir(dir, sizeof dir) || !JoinPath(script, sizeof script, dir, "SETUP.INF"))
        return 1;   /* the load tells what is wrong with the program's own path */
    if (!PathAttributes(script, &attributes))
        return NoteFailure(IDS_READERROR, script);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return 1;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return NoteFailure(IDS_READERROR, script);
}

static int RunUnattended(const SilentOptions *o)
{
    if (!MayRun())
        return SILENT_REFUSED;
    if (!HasScript() || !LoadScriptAndWindowsDir())
        return SILENT_NO_SCRIPT;
    if (o->mouseKind >= 0)
        SetupState.MouseKind = o->mouseKind;
    WatchRun(&ReportFace);
    int code = SILENT_INSTALLED;
    if (!AcceptSilentDestination(o)) {
        code = SILENT_USAGE;
    } else {
        CloseMouseApp();
        if (!CopyPackage() || !PatchSystemIni())
            code = SILENT_FAILED;   /* left as after the wizard's Cancel */
    }
    ReleaseFileTable();
    return code;
}

int RunSilentMode(const char *tail)
{
    SilentOptions o;
    if (!ReadSilentOptions(tail + 2, &o))
        return SILENT_USAGE;
    if (o.report[0] && !OpenRunReport(o.report))
        return SILENT_USAGE;   /* before anything changes */
    int code = RunUnattended(&o);
    if (FailureCount())
        ReportFailure();   /* the run's one FAILED line: what ended it */
    if (code == SILENT_INSTALLED && o.restart)
        ExitWindowsEx(EWX_REBOOT, 0);   /* refused, it is the user's restart still to
                                           come: the installation is whole either way */
    return CloseRunReport(code);
}
