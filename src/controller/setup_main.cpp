/* The program's entry: captures the environment, picks the run mode, refuses where it
   must not run, loads the setup script, and ends the run. */
#include "controller.h"
#include "page_walk.h"
#include "wizard_faces.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/command_line.h"
#include "../shared/script_loader.h"
#include "../ui/page_runner.h"
#include "../ui/pages.h"
#include "../ui/backdrop.h"
#include "../install/registration.h"
#include "../install/change_log.h"
#include "../install/installed_package.h"
#include "../shared/install_log.h"
#include "../shared/ini_file.h"
#include "../shared/prior_values.h"
#include "../shared/install_dir.h"
#include "../../resources/resource.h"

int IsDriverOnlyCommand(const char *tail)
{
    return tail && tail[0] == '-' && tail[1] == 'u';
}

/* The Windows directory and the setup script, both modes' first step; the reading
   error when either cannot be had. */
static int LoadScript(void)
{
    if (LoadScriptAndWindowsDir())
        return 1;
    TellFailure(0);
    return 0;
}

/* The prior values go into the installed package's record and log, when the package
   is installed, so that its uninstaller puts them back; otherwise into the SETUP.INF
   beside the program, or, where that cannot be written (a CD), nowhere: then no
   uninstaller exists that could put them back. */
static int RegisterDriverOnly(void)
{
    char dir[MAX_PATH];
    int installed, logged = 0, found;
    if (!FindInstalledPackage(dir, &installed))
        return 0;
    if (installed) {
        ProfileText log;
        /* an entry anyone may have written: a directory setup would not take is
           refused; nothing of this package is copied below it */
        if (!TakeDestination(dir, TextLength(dir), 0))
            return 0;
        if (!ReadInstallLog(SetupState.InstallDir, &log, &found, IDS_CANNOTREAD))
            return 0;
        FreeIniFile(&log);
        if (found && !BeginChangeLog())
            return 0;
        logged = found;
    } else {
        int can;
        SetupState.RecordBesideProgram = 1;
        if (!CanRecordIn(SetupState.SetupDir, &can))
            return 0;
        if (!can)
            RecordNowhere();
    }
    int registered = RegisterMouseDevice(0);
    return (!logged || EndChangeLog()) && registered;
}

static void RunDriverOnlyMode(void)
{
    if (!LoadScript())
        return;
    SetupState.MouseBackEnabled = 0;
    if (RunPage("SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSETYPE) == PAGE_CANCEL)
        return;
    if (!RegisterDriverOnly()) {
        TellFailure(0);   /* no restart: the driver is not bound */
        return;
    }
    MessageBoxA(0, ResourceText(IDS_DRIVERDONE), SetupState.Caption, MB_OK | MB_ICONINFORMATION);
    ExitWindowsEx(EWX_REBOOT, 0);
}

static void RunFullWizard(void)
{
    if (!MayRun()) {
        TellFailure(0);
        return;
    }
    if (!LoadScript())
        return;
    /* Nothing is changed yet, and a system that cannot make this window cannot show a
       box either: the run ends without one. */
    if (!CreateBackdrop())
        return;
    GivePagesTheirWork();
    int finished = WalkWizardPages();
    ReleaseFileTable();   /* every road of the pages ends here */
    DestroyWindow(SetupState.BackdropWindow);
    if (finished && SetupState.RebootChoice == 1)
        ExitWindowsEx(EWX_REBOOT, 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int)
{
    SetupState.ProductName[0] = 0;
    SetupState.ModuleInstance = instance;
    SetupState.ScreenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
    SetupState.ScreenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
    if (IsSilentCommand(tail))
        return RunSilentMode(tail);
    if (IsDriverOnlyCommand(tail))
        RunDriverOnlyMode();
    else
        RunFullWizard();
    return 0;
}
