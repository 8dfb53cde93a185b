/* UNINSTAL.EXE's entry: works on the directory it was started from, the installation's
   InstallDir, and on the SETUP.INF there. Without a readable SETUP.INF nothing is
   installed here; otherwise, once the user agrees (or with -s), the steps run in
   order, and the uninstall entry and the SETUP.INF go last, only when every step
   before succeeded, so that a run that failed part-way can be found in the uninstall
   list and made again. */
#include "uninstall.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/script_loader.h"
#include "../shared/mouse_app.h"
#include "../shared/failure_note.h"
#include "../shared/prior_values.h"
#include "../shared/command_line.h"
#include "../shared/path_names.h"
#include "../../resources/uninstall_resource.h"

#define MESSAGE_SIZE 2048

static void BuildUninstallCaption(void)
{
    CopyText(SetupState.Caption, sizeof SetupState.Caption, SetupState.ProductName);
    AppendText(SetupState.Caption, sizeof SetupState.Caption, " ");
    AppendText(SetupState.Caption, sizeof SetupState.Caption, ResourceText(IDS_UNINSTALL));
}

/* The package as the uninstall list names it, or the product name without a title. */
static const char *PackageName(void)
{
    return SetupState.Title[0] ? SetupState.Title : SetupState.ProductName;
}

static void Tell(UINT textId, UINT icon)
{
    if (!UninstallState.Silent)
        MessageBoxA(0, ResourceText(textId), SetupState.Caption, MB_OK | icon);
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
    if (!SetupState.InstallDir[0])
        return 1;
    InstalledScriptPath(path, sizeof path);
    return IsPathThere(path, there);
}

/* The uninstall entry, then this program at the next start: an entry that could not
   go still runs it for a second run; a program that could not be scheduled stays
   behind alone, and says so. */
static int ForgetOwnProgram(void)
{
    return RemoveUninstallEntry() && RemoveOwnProgram();
}

/* Each step does what it can even after one before it failed; the script, the entry
   and this program go only when nothing failed. */
static int RemovePackage(void)
{
    CloseMouseApp();
    int done = FindRegisteredInstallation();
    done = RemoveProductRegistration() && done;
    if (UninstallState.OwnsSharedState) {
        done = RestoreMouseDevice() && done;
        done = RestoreSystemIni() && done;
    }
    done = RemoveInstalledFiles() && done;
    return done && RemoveInstalledScript() && ForgetOwnProgram();
}

/* The directory this program runs from, whole, as InstallDir; the script there. */
static int LoadOwnScript(void)
{
    char dir[sizeof SetupState.InstallDir];
    int found = FindProgramDir(dir, sizeof dir);
    int loaded = found && LoadScriptFromAndWindowsDir(dir);
    /* the script's DefaultPath has set InstallDir meanwhile */
    CopyText(SetupState.InstallDir, sizeof SetupState.InstallDir, found ? dir : "");
    return loaded;
}

static int RunUninstall(void)
{
    int loaded = LoadOwnScript(), there, own;
    BuildUninstallCaption();
    if (!ScriptIsThere(&there)) {
        Tell(IDS_READERROR, MB_ICONWARNING);
        return UNINSTALL_INCOMPLETE;
    }
    if (!there) {
        /* the registered uninstaller of an installation a run removed all but these of */
        int forgotten = OwnUninstallEntry(&own) && (!own || ForgetOwnProgram());
        Tell(IDS_NOTHINGINSTALLED, MB_ICONINFORMATION);
        return forgotten ? UNINSTALL_NOTHING : UNINSTALL_INCOMPLETE;
    }
    if (!loaded) {
        Tell(IDS_READERROR, MB_ICONWARNING);
        return UNINSTALL_INCOMPLETE;
    }
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int)
{
    SetupState.ModuleInstance = instance;
    UninstallState.Silent = IsSilentCommand(tail);
    int result = RunUninstall();
    ReleaseFileTable();
    return result;
}
