/* UNINSTAL.EXE's entry: works on the directory it was started from, the installation's
   InstallDir. An installation is there when its log (install_log.h) names it, or, for
   one made before the log, when its SETUP.INF is there and the uninstall entry runs
   this directory's uninstaller; otherwise nothing is installed here and nothing is
   touched. Once the user agrees (or with -s), the steps run in order, and the
   SETUP.INF, the uninstall entry and the log go last, only when every step before
   succeeded, so that a run that failed part-way can be found and made again.
   -s -l PATH writes a report (report_file.h), with a LEFT line for each thing someone
   changed since setup, which is left as it is. */
#include "uninstall.h"
#include "earlier_removal.h"
#include "product_removal.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/script_loader.h"
#include "../shared/script_rules.h"
#include "../shared/mouse_app.h"
#include "../shared/failure_note.h"
#include "../shared/prior_values.h"
#include "../shared/command_line.h"
#include "../shared/path_names.h"
#include "../shared/report_file.h"
#include "../shared/install_dir.h"
#include "../../resources/uninstall_resource.h"

#define MESSAGE_SIZE 2048

/* The package as the uninstall list names it, or the product name without a title. */
static const char *PackageName(void)
{
    return SetupState.Title[0] ? SetupState.Title : SetupState.ProductName;
}

/* The box of a run that ends before anything is removed: nothing installed here, or
   the failure noted (what could not be read). */
static void Tell(const char *text, UINT icon)
{
    if (!UninstallState.Silent)
        MessageBoxA(0, text, SetupState.Caption, MB_OK | icon);
}

/* The package's name followed by a text, and after a failure what failed and what to
   do; the answer of a Yes/No box. */
static int AskAboutPackage(UINT textId, UINT icon)
{
    char text[MESSAGE_SIZE], failure[FAILURE_MESSAGE_SIZE];
    CopyText(text, sizeof text, PackageName());
    AppendText(text, sizeof text, ResourceText(textId));
    if (FailureCount()) {
        FailureMessage(failure);
        AppendText(text, sizeof text, "\n\n");
        AppendText(text, sizeof text, failure);
        AppendText(text, sizeof text, "\n\n");
        AppendText(text, sizeof text, ResourceText(IDS_RUNAGAIN));
    }
    return MessageBoxA(0, text, SetupState.Caption, MB_YESNO | icon);
}

/* Whether there is a script here at all: 1 and *there; 0, noted, when that cannot be
   told. One that is there and cannot be read is a reading error, not nothing
   installed. */
static int ScriptIsThere(int *there)
{
    char path[RECORD_PATH_SIZE];
    *there = 0;
    InstalledScriptPath(path, sizeof path);
    return IsPathThere(path, there);
}

/* The way back the installation was found with. Only when nothing failed: the
   script, the uninstall entry, the log, then this program at the next start: an entry
   or log that could not go still runs it for a second run; a program that could not be
   scheduled stays behind alone (and says so), as it does when the power goes just
   then: never the log without the program that follows it. */
static int RemovePackage(void)
{
    int log = UninstallState.HasLog;
    CloseMouseApp();
    int done = log ? UndoInstallLog() : RemoveEarlierInstallation();
    return done && RemoveInstalledScript() && RemoveUninstallEntry() &&
           (!log || ForgetInstallLog()) && RemoveOwnProgram();
}

/* The script in the directory this program runs from, then that directory as
   InstallDir: *taken 0 when setup would not take it as a destination (too long, no
   drive, no room below it for the script's paths), so that it holds no installation. */
static int LoadOwnScript(int *taken)
{
    char dir[sizeof SetupState.InstallDir];
    int found = FindProgramDir(dir, sizeof dir);
    int loaded = found && LoadScriptFromAndWindowsDir(dir);
    *taken = found && TakeCopyDestination(dir, TextLength(dir));
    if (!*taken)
        ForgetFailures();   /* told as nothing installed: no directory was to be made */
    return loaded;
}

/* The product name and title from the log, for a script that is gone. */
static void NamesFromLog(void)
{
    char product[sizeof SetupState.ProductName], title[sizeof SetupState.Title];
    if (!LoggedPackage(product, title, sizeof product))
        return;
    CopyText(SetupState.ProductName, sizeof SetupState.ProductName, product);
    CopyText(SetupState.Title, sizeof SetupState.Title, title);
}

/* Without a log, the installation of an earlier version: 1 and *installed when the
   script is there and the uninstall entry runs this directory's uninstaller; a
   registered uninstaller whose script a run removed is forgotten. 0, noted, when it
   cannot be told. */
static int EarlierInstallation(int *installed)
{
    int there, own;
    *installed = 0;
    if (!ScriptIsThere(&there) || !OwnUninstallEntry(&own))
        return 0;
    if (!there && own)   /* a run removed all but these */
        return RemoveUninstallEntry() && RemoveOwnProgram();
    *installed = there && own;
    return 1;
}

/* Whether an installation is here to be removed: -1 when there is; otherwise what the
   user was told, as the exit code: nothing installed, or what cannot be read (a script
   that is there must be read whole, with a log or without). */
static int InstallationHere(void)
{
    int taken, loaded = LoadOwnScript(&taken), logFound = 0, scriptThere = 0, installed = 1;
    int read = taken && FindInstallLog(&logFound) && ScriptIsThere(&scriptThere);
    UninstallState.HasLog = read && logFound;
    if (UninstallState.HasLog && !scriptThere)
        NamesFromLog();   /* the script is gone: the log alone says what to undo */
    BuildCaptionWith(IDS_UNINSTALL);
    if (read && !logFound)
        read = EarlierInstallation(&installed);
    if (!taken || (read && !installed)) {
        Tell(ResourceText(IDS_NOTHINGINSTALLED), MB_ICONINFORMATION);   /* no failure */
        return UNINSTALL_NOTHING;
    }
    if (!read || !loaded) {   /* a script that is gone loads the defaults */
        char failure[FAILURE_MESSAGE_SIZE];
        FailureMessage(failure);
        Tell(failure, MB_ICONWARNING);
        return UNINSTALL_INCOMPLETE;
    }
    return -1;
}

static int RunUninstall(void)
{
    int here = InstallationHere();
    if (here >= 0)
        return here;
    if (!UninstallState.Silent &&
        AskAboutPackage(IDS_REMOVEQUESTION, MB_ICONQUESTION) != IDYES)
        return UNINSTALL_DECLINED;
    int failed = !RemovePackage();
    if (!UninstallState.Silent &&
        AskAboutPackage(failed ? IDS_NOTREMOVED : IDS_REMOVED,
                        failed ? MB_ICONEXCLAMATION : MB_ICONINFORMATION) == IDYES)
        ExitWindowsEx(EWX_REBOOT, 0);
    return failed ? UNINSTALL_INCOMPLETE : UNINSTALL_DONE;
}

/* The options after -s: "-l PATH" at most; 0 for anything else. */
static int ReadOptions(const char *p, char *report)
{
    char word[MAX_PATH];
    report[0] = 0;
    while (*(p = SkipCommandBlanks(p))) {
        if (!(p = CommandWord(p, word, sizeof word)) || lstrcmpA(word, "-l") || report[0])
            return 0;
        if (!(p = CommandWord(SkipCommandBlanks(p), report, MAX_PATH)) || !report[0])
            return 0;
    }
    return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int)
{
    char report[MAX_PATH] = "";
    SetupState.ModuleInstance = instance;
    UninstallState.Silent = IsSilentCommand(tail);
    if (UninstallState.Silent &&
        (!ReadOptions(SkipCommandBlanks(tail) + 2, report) || (report[0] && !OpenRunReport(report))))
        return UNINSTALL_USAGE;   /* before anything changes */
    int result = RunUninstall();
    if (FailureCount())
        ReportFailure();
    ReleaseFileTable();
    return CloseRunReport(result);
}
