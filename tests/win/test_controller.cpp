// The controller: run-mode choice and the refusals M1, M2 and M3, in-process with
// MessageBoxA recorded, and from the real SETUP.EXE with its boxes read from outside.
#include <gtest/gtest.h>
#include "testlib.h"
#include "controller/controller.h"
#include "controller/page_walk.h"
#include "ui/pages.h"
#include "install/destination.h"
#include "resource.h"

namespace {

const char TooManyFiles[] = "[DiskLabel]\nDisk1=a\nDisk2=b\n[FileCounts]\nDisk1=16384\nDisk2=16384\n";

// A window titled like the running mouse application.
struct MouseAppWindow {
    HWND hwnd = CreateWindowExA(0, "STATIC", "ZennoMouse", WS_POPUP, 0, 0, 10, 10, 0, 0,
                                GetModuleHandleA(0), 0);
    ~MouseAppWindow() { DestroyWindow(hwnd); }
};

struct RunValue {
    explicit RunValue(const char *data) { SetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse", data); }
    ~RunValue()
    {
        HKEY k;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
            RegDeleteValueA(k, "ZennoMouse");
            RegCloseKey(k);
        }
    }
};

DWORD WINAPI NtVersion() { return 0x0A280105; }  // 5.1, bit 31 clear

class Controller : public ::testing::Test {
protected:
    void SetUp() override { ResetSetupState(); RemoveSetupInf(); }
    void TearDown() override { RemoveSetupInf(); ResetSetupState(); }
    // Runs the controller with the pages driven by steps; returns its message boxes.
    std::vector<MessageBoxCall> Run(const char *tail, std::vector<PageStep> steps = {})
    {
        ResetSetupState();
        MessageBoxRecorder boxes;
        PageDriver driver(std::move(steps));
        EXPECT_EQ(0, WinMain(GetModuleHandleA(0), 0, (LPSTR)tail, SW_SHOWNORMAL));
        return boxes.Calls();
    }
    static PageStep CancelOn(const char *cls)
    {
        return {cls, [](HWND page) { Click(page, IDCANCEL); }};
    }
    static void ExpectBox(const std::vector<MessageBoxCall> &boxes, const char *text,
                          const char *caption, const char *tail)
    {
        ASSERT_EQ(1u, boxes.size()) << "command line \"" << tail << "\"";
        EXPECT_EQ(text, boxes[0].text) << tail;
        EXPECT_EQ(caption, boxes[0].caption) << tail;
        EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes[0].style) << tail;
        EXPECT_EQ(nullptr, boxes[0].owner) << tail;
    }
};

TEST_F(Controller, DriverOnlyModeIsChosenByADashAndLowerCaseU)
{
    EXPECT_TRUE(IsDriverOnlyCommand("-u"));
    EXPECT_TRUE(IsDriverOnlyCommand("-uninstall now"));
    EXPECT_FALSE(IsDriverOnlyCommand("-U"));
    EXPECT_FALSE(IsDriverOnlyCommand("/u"));
    EXPECT_FALSE(IsDriverOnlyCommand(" -u"));
    EXPECT_FALSE(IsDriverOnlyCommand(""));

    // With the mouse application running, only the full wizard refuses.
    MouseAppWindow app;
    ASSERT_TRUE(app.hwnd);
    for (const char *tail : {"", "-U", "/u", "u"})
        ExpectBox(Run(tail), OtherMouseText, "Warning", tail);
    for (const char *tail : {"-u", "-ux", "-u something else"}) {
        bool backEnabled = true;
        std::vector<MessageBoxCall> boxes = Run(tail, {{"SETUP_SELMOUSE", [&](HWND page) {
            backEnabled = IsWindowEnabled(GetDlgItem(page, IDC_BACK));
            EXPECT_EQ(nullptr, GetWindow(page, GW_OWNER)) << "no backdrop owns the page";
            Click(page, IDCANCEL);
        }}});
        ASSERT_EQ(1u, boxes.size()) << tail;
        EXPECT_EQ(AbortText, boxes[0].text) << tail;
        EXPECT_FALSE(backEnabled) << "Back is disabled in DriverOnlyMode: " << tail;
        EXPECT_STREQ("Orvel Setup Program", SetupState.Caption) << "script loaded for " << tail;
        EXPECT_EQ(0, SetupState.RecordBesideProgram) << "a cancelled DriverOnlyMode goes no further";
    }
}

TEST_F(Controller, RegisteredMouseApplicationRefusesTheFullWizard)
{
    ScratchDir app("app"), blanks("app\\Orvel Mouse"), deep(("app\\" + std::string(72, 'x')).c_str());
    for (const ScratchDir *dir : {&app, &blanks, &deep})
        WriteWholeFile(dir->Path() + "\\KXMAIN.EXE", "mouse application");
    {
        RunValue value((app.Path() + "\\KXMAIN.EXE -startup").c_str());
        EXPECT_EQ(1, IsMouseAppRegistered());
        ExpectBox(Run(""), OtherMouseText, "Warning", "");
        EXPECT_STREQ("", SetupState.WindowsDir) << "refused before anything else";
        EXPECT_EQ(1u, Run("-u", {CancelOn("SETUP_SELMOUSE")}).size()) << "only the abort notice";
    }
    {
        RunValue value(("\"" + blanks.Path() + "\\KXMAIN.EXE\" -startup").c_str());
        EXPECT_EQ(1, IsMouseAppRegistered()) << "a quoted command names it too";
    }
    {
        RunValue value("c:\\orvel\\kxmain.exe -startup");
        EXPECT_EQ(0, IsMouseAppRegistered()) << "the name is matched case-sensitively";
    }
    {
        RunValue value((deep.Path() + "\\KXMAIN.EXE -startup").c_str());
        EXPECT_EQ(1, IsMouseAppRegistered()) << "a value of 80 bytes and more is read whole";
    }
    {
        // Nothing left on the disk that could remove it: it no longer keeps setup away,
        // while the uninstaller alone is still reason to.
        RunValue value((app.Path() + "\\gone\\KXMAIN.EXE -startup").c_str());
        EXPECT_EQ(0, IsMouseAppRegistered()) << "program and uninstaller gone";
        CreateDirectoryA((app.Path() + "\\gone").c_str(), 0);
        WriteWholeFile(app.Path() + "\\gone\\UNINSTAL.EXE", "uninstaller");
        EXPECT_EQ(1, IsMouseAppRegistered()) << "the uninstaller is there";
    }
    EXPECT_EQ(0, IsMouseAppRegistered()) << "no value";
}

TEST_F(Controller, OtherPlatformsAreRefusedAfterTheMouseChecks)
{
    ImportPatch version("kernel32.dll", "GetVersion", (void *)NtVersion);
    ASSERT_TRUE(version.Applied());
    ExpectBox(Run(""), WrongPlatformText, "Warning", "");
    EXPECT_EQ(1u, Run("-u", {CancelOn("SETUP_SELMOUSE")}).size())
        << "DriverOnlyMode makes no version check";
    MouseAppWindow app;
    ExpectBox(Run(""), OtherMouseText, "Warning", "with the application running");
}

// GetWindowsDirectoryA answering that the name needs more room than it was given.
UINT WINAPI LongWindowsDir(char *buffer, UINT size)
{
    lstrcpynA(buffer, "C:\\WINDOWS", (int)size);
    return 120;
}

TEST_F(Controller, ScriptLoadFailureShowsTheReadErrorWithTheProductCaption)
{
    WriteSetupInf(TooManyFiles);
    ExpectBox(Run(""), ReadErrorText, "Orvel Setup Program", "");
    ExpectBox(Run("-u"), ReadErrorText, "Orvel Setup Program", "-u");
    EXPECT_EQ(1, SetupState.MouseBackEnabled) << "DriverOnlyMode stopped at the script";

    // A Windows directory whose name does not fit is refused the same way.
    WriteSetupInf("[Main]\nProductName=Kestrel\n");
    ImportPatch windows("kernel32.dll", "GetWindowsDirectoryA", (void *)LongWindowsDir);
    ASSERT_TRUE(windows.Applied());
    ExpectBox(Run(""), ReadErrorText, "Kestrel Setup Program", "");
    ExpectBox(Run("-u"), ReadErrorText, "Kestrel Setup Program", "-u");
}

// GlobalAlloc refusing the file table's block (the one moveable block the program
// asks for); the script's text, read first, still gets its memory.
void *RealGlobalAlloc;
HGLOBAL WINAPI NoMemory(UINT flags, SIZE_T size)
{
    if (flags & GMEM_MOVEABLE)
        return 0;
    return ((HGLOBAL(WINAPI *)(UINT, SIZE_T))RealGlobalAlloc)(flags, size);
}

TEST_F(Controller, FileTableThatCannotBeAllocatedIsAReadingError)
{
    WriteSetupInf("[Main]\nProductName=Kestrel\n[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=3\n");
    ImportPatch alloc("kernel32.dll", "GlobalAlloc", (void *)NoMemory);
    ASSERT_TRUE(alloc.Applied());
    RealGlobalAlloc = alloc.Original();
    ExpectBox(Run(""), ReadErrorText, "Kestrel Setup Program", "");
    ExpectBox(Run("-u"), ReadErrorText, "Kestrel Setup Program", "-u");
    EXPECT_EQ(nullptr, SetupState.FileTableHandle);
    EXPECT_EQ(nullptr, SetupState.BackdropWindow) << "no backdrop, no page";
}

TEST_F(Controller, FullRunCapturesTheEnvironmentAndReleasesTheTable)
{
    WriteSetupInf("[Main]\nProductName=Kestrel\n[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=3\n");
    EXPECT_EQ(1u, Run("", {CancelOn("SETUP_BEGIN")}).size()) << "only the abort notice";
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_STREQ(windows, SetupState.WindowsDir);
    EXPECT_EQ(GetModuleHandleA(0), SetupState.ModuleInstance);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), SetupState.ScreenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), SetupState.ScreenHeight);
    EXPECT_STREQ("Kestrel", SetupState.ProductName);
    EXPECT_EQ(3, SetupState.TotalFiles);
    EXPECT_EQ(nullptr, SetupState.FileTableHandle) << "released at the end of the run";
    EXPECT_EQ(1, SetupState.MouseBackEnabled);
    ReleaseFileTable();  // a second release is harmless
}

// ExitWindowsEx as the controller calls it, recorded instead of restarting.
std::vector<std::pair<UINT, DWORD>> RestartRequests;
BOOL WINAPI RecordExitWindows(UINT flags, DWORD reason)
{
    RestartRequests.push_back({flags, reason});
    return TRUE;
}

TEST(PageWalk, NextPageForEveryResult)
{
    const short results[] = {PAGE_CANCEL, PAGE_NEXT, PAGE_BACK, 7};
    const int expected[][4] = {
        /* welcome */     {WIZARD_END, WIZARD_MOUSETYPE, WIZARD_MOUSETYPE, WIZARD_MOUSETYPE},
        /* mouse type */  {WIZARD_END, WIZARD_DESTINATION, WIZARD_WELCOME, WIZARD_DESTINATION},
        /* destination */ {WIZARD_END, WIZARD_COPY, WIZARD_MOUSETYPE, WIZARD_COPY},
        /* copy */        {WIZARD_END, WIZARD_FINISH, WIZARD_FINISH, WIZARD_FINISH},
    };
    for (int page = WIZARD_WELCOME; page <= WIZARD_COPY; page++)
        for (int r = 0; r < 4; r++)
            EXPECT_EQ(expected[page][r], NextWizardPage(page, results[r]))
                << "page " << page << " result " << results[r];
}

class Walk : public Controller {
protected:
    void SetUp() override
    {
        Controller::SetUp();
        RestartRequests.clear();
        WriteSetupInf("[Main]\nProductName=Orvel\nMinimumSpace=0\nDefaultPath=C:\\t\\walk\\Orvel\n"
                      "DefaultSerialMouse=1\n");
    }
    ImportPatch restart_{"user32.dll", "ExitWindowsEx", (void *)RecordExitWindows};
    ScratchDir dir_{"walk"};
    SystemFilesGuard systemFiles_;
    RegistryGuard registry_;
    static PageStep Press(const char *cls, int id)
    {
        return {cls, [id](HWND page) { Click(page, id); }};
    }
};

// The running mouse application as the walk meets it: started after the checks.
LRESULT CALLBACK MouseAppProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CLOSE) {
        SetWindowLongPtrA(w, GWLP_USERDATA, 1);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(Walk, BackAndForthThenFinishWithoutRestart)
{
    ASSERT_TRUE(restart_.Applied());
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MouseAppProc;
    wc.lpszClassName = "WalkMouseApp";
    RegisterClassA(&wc);
    HWND app = 0;
    std::string ini = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nmouse=*vmd\r\n";
    WriteWholeFile(WindowsDirectory() + "\\system.ini", ini);
    std::vector<MessageBoxCall> boxes = Run("", {
        Press("SETUP_BEGIN", IDC_NEXT),
        Press("SETUP_SELMOUSE", IDC_NEXT),
        Press("SETUP_SELDIR", IDC_BACK),
        {"SETUP_SELMOUSE", [](HWND page) {
            Click(page, IDC_PS2);
            Click(page, IDC_BACK);
        }},
        {"SETUP_BEGIN", [&](HWND page) {
            app = CreateWindowExA(0, "WalkMouseApp", MOUSE_APP_TITLE, WS_POPUP, 0, 0, 5, 5,
                                  0, 0, 0, 0);
            Click(page, IDC_NEXT);
        }},
        {"SETUP_SELMOUSE", [](HWND page) {
            EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_PS2)) << "the page shows MouseKind";
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
            Click(page, IDC_NEXT);
        }},
        {"SETUP_SELDIR", [&](HWND page) {
            EXPECT_EQ("C:\\t\\walk\\Orvel", ItemText(page, IDC_DIRTEXT));
            EXPECT_EQ(0, GetWindowLongPtrA(app, GWLP_USERDATA)) << "not closed before Next";
            Click(page, IDC_NEXT);
        }},
        {"SETUP_END", [&](HWND page) {
            EXPECT_EQ(1, GetWindowLongPtrA(app, GWLP_USERDATA)) << "WM_CLOSE before going on";
            Click(page, IDC_REBOOTLATER);
            Click(page, IDC_NEXT);
        }},
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(RestartRequests.empty()) << "restart later";
    EXPECT_EQ(0, SetupState.MouseKind);
    EXPECT_EQ(0, SetupState.RebootChoice);
    EXPECT_TRUE(IsExistingDirectory("C:\\t\\walk\\Orvel"));
    EXPECT_EQ(nullptr, SetupState.FileTableHandle);
    EXPECT_EQ("[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nmouse=*vmouse\r\n",
              ReadWholeFile(WindowsDirectory() + "\\system.ini")) << "patched before the finish page";
    EXPECT_EQ(ini, ReadWholeFile(WindowsDirectory() + "\\system.bak"));
    EXPECT_EQ("C:\\t\\walk\\Orvel\\KXMAIN.EXE -startup", GetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse"))
        << "registered at the end of the copy";
    DestroyWindow(app);
}

TEST_F(Walk, FinishWithRestartAsksForIt)
{
    HWND backdrop = 0;
    std::vector<MessageBoxCall> boxes = Run("", {
        {"SETUP_BEGIN", [&](HWND page) {
            backdrop = SetupState.BackdropWindow;
            EXPECT_TRUE(IsWindowVisible(backdrop));
            EXPECT_EQ(backdrop, GetWindow(page, GW_OWNER)) << "the backdrop owns the pages";
            Click(page, IDC_NEXT);
        }},
        Press("SETUP_SELMOUSE", IDC_NEXT), Press("SETUP_SELDIR", IDC_NEXT),
        {"SETUP_END", [](HWND page) {
            EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_REBOOTNOW));
            Click(page, IDC_NEXT);
        }},
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsWindow(backdrop)) << "destroyed at the end";
    ASSERT_EQ(1u, RestartRequests.size());
    EXPECT_EQ((UINT)EWX_REBOOT, RestartRequests[0].first);
    EXPECT_EQ(0u, RestartRequests[0].second);
}

TEST_F(Walk, CancelOnEachPageEndsTheRun)
{
    std::vector<std::vector<PageStep>> roads = {
        {Press("SETUP_BEGIN", IDC_CANCEL)},
        {Press("SETUP_BEGIN", IDC_NEXT), Press("SETUP_SELMOUSE", IDC_CANCEL)},
        {Press("SETUP_BEGIN", IDC_NEXT), Press("SETUP_SELMOUSE", IDC_NEXT),
         Press("SETUP_SELDIR", IDC_CANCEL)},
    };
    for (size_t i = 0; i < roads.size(); i++) {
        std::vector<MessageBoxCall> boxes = Run("", roads[i]);
        ASSERT_EQ(1u, boxes.size()) << "road " << i;
        EXPECT_EQ(AbortText, boxes[0].text);
        EXPECT_TRUE(RestartRequests.empty()) << "road " << i;
        EXPECT_EQ(nullptr, SetupState.FileTableHandle) << "road " << i;
    }
    EXPECT_FALSE(IsExistingDirectory("C:\\t\\walk\\Orvel")) << "nothing created before Next";
}

// CreateWindowExA failing for the backdrop's class only.
void *RealCreateWindow;
HWND WINAPI RefuseBackdrop(DWORD ex, LPCSTR cls, LPCSTR title, DWORD style, int x, int y, int w,
                           int h, HWND parent, HMENU menu, HINSTANCE inst, LPVOID param)
{
    if (HIWORD(cls) && !lstrcmpA(cls, "SetupMain"))
        return 0;
    return ((HWND(WINAPI *)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU,
                            HINSTANCE, LPVOID))RealCreateWindow)(ex, cls, title, style, x, y, w, h,
                                                                 parent, menu, inst, param);
}

TEST_F(Controller, NoBackdropEndsSilently)
{
    ImportPatch refuse("user32.dll", "CreateWindowExA", (void *)RefuseBackdrop);
    ASSERT_TRUE(refuse.Applied());
    RealCreateWindow = refuse.Original();
    ResetSetupState();
    MessageBoxRecorder boxes;
    {
        PageDriver driver({}, 500);   // a page left showing fails the driver, which has no steps
        WinMain(GetModuleHandleA(0), 0, (LPSTR) "", SW_SHOWNORMAL);
    }
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(nullptr, SetupState.BackdropWindow);
}


// The real SETUP.EXE, started as a separate process from a short directory.
class RealSetup : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(BuiltSetupExe().empty()) << "SETUP_EXE is not set"; }
    static void ExpectOneBox(const SetupRun &run, const char *text, const char *caption)
    {
        EXPECT_EQ(0u, run.exitCode);
        ASSERT_EQ(1u, run.boxes.size());
        EXPECT_EQ(text, run.boxes[0].text);
        EXPECT_EQ(caption, run.boxes[0].caption);
    }
};

TEST_F(RealSetup, RefusalsSeenFromOutside)
{
    ScratchDir dir("refuse");
    WriteSetupInf("[Main]\nProductName=Orvel\n", dir.Path());
    {
        WriteWholeFile(dir.Path() + "\\KXMAIN.EXE", "mouse application");
        RunValue value((dir.Path() + "\\KXMAIN.EXE -startup").c_str());
        ExpectOneBox(RunSetupExe(dir.Path(), "SETUP.EXE", ""), OtherMouseText, "Warning");
        SetupRun driverOnly = RunSetupExe(dir.Path(), "SETUP.EXE", "-u", {Press("SETUP_SELMOUSE", IDCANCEL)});
        EXPECT_EQ(0u, driverOnly.exitCode);
        ASSERT_EQ(1u, driverOnly.boxes.size()) << "DriverOnlyMode makes no application check";
        EXPECT_EQ(AbortText, driverOnly.boxes[0].text);
    }
    SetupRun plain = RunSetupExe(dir.Path(), "SETUP.EXE", "", {Press("SETUP_BEGIN", IDCANCEL)});
    EXPECT_EQ(0u, plain.exitCode);
    ASSERT_EQ(1u, plain.boxes.size()) << "a good script loads and the wizard starts";
    EXPECT_EQ("Orvel Setup Program", plain.boxes[0].caption);

    WriteSetupInf(TooManyFiles, dir.Path());
    ExpectOneBox(RunSetupExe(dir.Path(), "SETUP.EXE", ""), ReadErrorText, "Orvel Setup Program");
}

// The program's own start-up finds the command-line tail after an unquoted program
// path as it does after a quoted one.
TEST_F(RealSetup, UnquotedProgramPathStillSelectsTheDriverOnlyMode)
{
    ScratchDir dir("unquoted");
    WriteSetupInf("[Main]\nProductName=Orvel\n", dir.Path());
    std::string exe = dir.Path() + "\\SETUP.EXE";
    ASSERT_TRUE(CopyFileA(BuiltSetupExe().c_str(), exe.c_str(), FALSE));
    bool backDisabled = false;
    SetupRun run = RunProgram(exe, exe + "   -u", dir.Path(),
                              {{"SETUP_SELMOUSE", [&](HWND page) {
                                  backDisabled = !IsWindowEnabled(GetDlgItem(page, IDC_BACK));
                                  PostClick(page, IDCANCEL);
                              }}});
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(backDisabled) << "the mouse-type page of the driver-only mode comes first";
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(AbortText, run.boxes[0].text);

    // Without a tail the full wizard starts.
    SetupRun full = RunProgram(exe, exe, dir.Path(), {Press("SETUP_BEGIN", IDCANCEL)});
    EXPECT_EQ(1u, full.boxes.size());
}

TEST_F(RealSetup, ProgramPathOf79CharactersFitsAndOf80IsAReadingError)
{
    // C:\t\ + directory + \SETUP.EXE: a directory name of 64 characters gives 79 in all.
    ScratchDir fits(std::string(64, 'p').c_str());
    ASSERT_EQ(79u, (fits.Path() + "\\SETUP.EXE").size());
    WriteSetupInf("[Main]\nProductName=Kestrel\n", fits.Path());
    SetupRun run = RunSetupExe(fits.Path(), "SETUP.EXE", "", {Press("SETUP_BEGIN", IDCANCEL)});
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(1u, run.boxes.size()) << "the wizard started: only the abort notice";
    EXPECT_EQ("Kestrel Setup Program", run.boxes[0].caption) << "the script beside it was read";

    ScratchDir tooLong(std::string(65, 'p').c_str());
    ASSERT_EQ(80u, (tooLong.Path() + "\\SETUP.EXE").size());
    WriteSetupInf("[Main]\nProductName=Kestrel\n", tooLong.Path());
    ExpectOneBox(RunSetupExe(tooLong.Path(), "SETUP.EXE", ""), ReadErrorText, "Orvel Setup Program");
}

TEST_F(RealSetup, NtVersionOfWineGivesTheWrongPlatformMessage)
{
    ScratchDir dir("ntvers");
    const char *appKey = "Software\\Wine\\AppDefaults\\SETUPNT.EXE";
    SetRegText(HKEY_CURRENT_USER, appKey, "Version", "winxp");
    ExpectOneBox(RunSetupExe(dir.Path(), "SETUPNT.EXE", ""), WrongPlatformText, "Warning");
    DeleteRegTree(HKEY_CURRENT_USER, appKey);
    SetupRun win98 = RunSetupExe(dir.Path(), "SETUPNT.EXE", "", {Press("SETUP_BEGIN", IDCANCEL)});
    EXPECT_EQ(1u, win98.boxes.size()) << "the prefix itself reports Windows 98: only the abort notice";
}

}  // namespace
