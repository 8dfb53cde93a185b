// The wizard pages as real windows: created by RunPage from their templates and
// driven from a thread timer, with message boxes recorded.
#include <gtest/gtest.h>
#include "testlib.h"
#include "resource.h"
#include "ui/page_runner.h"
#include "ui/pages.h"
#include "install/destination.h"
#include "controller/wizard_faces.h"
#include "shared/script_loader.h"

namespace {


// GetDiskFreeSpaceA as a drive of chosen size; the root asked for is kept.
struct FakeDrive {
    static DWORD sectorsPerCluster, bytesPerSector, freeClusters;
    static std::string root;
    static BOOL WINAPI Query(LPCSTR path, LPDWORD spc, LPDWORD bps, LPDWORD freeC, LPDWORD total)
    {
        root = path;
        *spc = sectorsPerCluster;
        *bps = bytesPerSector;
        *freeC = freeClusters;
        *total = freeClusters;
        return TRUE;
    }
    // free kilobytes = clusters when a cluster is 1024 bytes
    explicit FakeDrive(DWORD spc, DWORD bps, DWORD clusters)
        : patch_("kernel32.dll", "GetDiskFreeSpaceA", (void *)Query)
    {
        sectorsPerCluster = spc, bytesPerSector = bps, freeClusters = clusters;
        root.clear();
        EXPECT_TRUE(patch_.Applied());
    }
    ImportPatch patch_;
};
DWORD FakeDrive::sectorsPerCluster, FakeDrive::bytesPerSector, FakeDrive::freeClusters;
std::string FakeDrive::root;

class Pages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        GetWindowsDirectoryA(SetupState.WindowsDir, sizeof SetupState.WindowsDir);
        WriteSetupInf("[Main]\nProductName=Orvel\nMinimumSpace=0\nDefaultPath=C:\\t\\pages\\Orvel\n");
        ASSERT_EQ(1, LoadSetupScript());
        RemoveSetupInf();
        GivePagesTheirWork();
        SetupState.ScreenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
        SetupState.ScreenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
    }
    void TearDown() override { ResetSetupState(); }

    short Show(const char *cls, WNDPROC proc, WORD id, std::vector<PageStep> steps)
    {
        PageDriver driver(std::move(steps));
        return RunPage(cls, proc, id);
    }
    short Welcome(std::vector<PageStep> steps)
    {
        return Show("SETUP_BEGIN", WelcomePageProc, IDD_WELCOME, std::move(steps));
    }
    short MouseType(std::vector<PageStep> steps)
    {
        return Show("SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSETYPE, std::move(steps));
    }
    short Destination(std::vector<PageStep> steps)
    {
        return Show("SETUP_SELDIR", DestinationPageProc, IDD_DESTINATION, std::move(steps));
    }
    short Finish(std::vector<PageStep> steps)
    {
        return Show("SETUP_END", FinishPageProc, IDD_FINISH, std::move(steps));
    }
    static void Escape(HWND page)
    {
        PostMessageA(GetDlgItem(page, IDC_NEXT), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(GetDlgItem(page, IDC_NEXT), WM_KEYUP, VK_ESCAPE, 0);
    }
    static void ExpectCentredOn(HWND page, int screenWidth, int screenHeight)
    {
        RECT r;
        GetWindowRect(page, &r);
        EXPECT_EQ((screenWidth - (r.right - r.left)) / 2, r.left);
        EXPECT_EQ((screenHeight - (r.bottom - r.top)) / 2, r.top);
    }
    // Next with a directory shown in control 1003: returns the boxes it brought.
    static std::vector<MessageBoxCall> NextWith(HWND page, const std::string &dir,
                                                MessageBoxRecorder &boxes)
    {
        boxes.Clear();
        SetDlgItemTextA(page, IDC_DIRTEXT, dir.c_str());
        Click(page, IDC_NEXT);
        return boxes.Calls();
    }
};

TEST_F(Pages, WelcomeFrameTextsAndCommands)
{
    MessageBoxRecorder boxes;
    short result = Welcome({{"SETUP_BEGIN", [](HWND page) {
        EXPECT_EQ("Orvel Setup", WindowText(page));
        EXPECT_EQ("This program will install Orvel into your computer.", ItemText(page, IDC_INTRO));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
        ExpectCentredOn(page, SetupState.ScreenWidth, SetupState.ScreenHeight);
        EXPECT_EQ(nullptr, GetWindow(page, GW_OWNER));
        SetupState.LastPageResult = 7;
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_DOUBLECLICKED), 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CANCEL, 1), 0);
        SendMessageA(page, WM_COMMAND, IDC_BACK, 0);
        EXPECT_TRUE(IsWindow(page)) << "notification codes and command 3 are ignored";
        EXPECT_EQ(7, SetupState.LastPageResult);
        // Alt+F4, and whatever it may post, leaves the page up.
        SendMessageA(GetDlgItem(page, IDC_NEXT), WM_SYSKEYDOWN, VK_F4, 0x20000000);
        MSG m;
        for (DWORD end = GetTickCount() + 200; GetTickCount() < end;)
            if (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) {
                if (m.message == WM_QUIT) {   // the page is gone: let RunPage end
                    PostQuitMessage((int)m.wParam);
                    break;
                }
                DispatchMessageA(&m);
            }
        EXPECT_TRUE(IsWindow(page)) << "Alt+F4 closed the page";
        Click(page, IDC_NEXT);
    }}});
    EXPECT_EQ(PAGE_NEXT, result);
    EXPECT_TRUE(boxes.Calls().empty());

    // Esc is Cancel: the abort notice, owned by the page, then PAGE_CANCEL.
    HWND shown = 0;
    EXPECT_EQ(PAGE_CANCEL, Welcome({{"SETUP_BEGIN", [&](HWND page) { shown = page; Escape(page); }}}));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(AbortText, boxes.Calls()[0].text);
    EXPECT_EQ("Orvel Setup Program", boxes.Calls()[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), boxes.Calls()[0].style);
    EXPECT_EQ(shown, boxes.Calls()[0].owner);

    boxes.Clear();
    EXPECT_EQ(PAGE_CANCEL, Welcome({{"SETUP_BEGIN", [](HWND page) { Click(page, IDC_CANCEL); }}}));
    EXPECT_EQ(1u, boxes.Calls().size());

    // Enter is the default command.
    EXPECT_EQ(PAGE_NEXT, Welcome({{"SETUP_BEGIN", [](HWND page) {
        PostMessageA(GetDlgItem(page, IDC_CANCEL), WM_KEYDOWN, VK_RETURN, 0);
    }}}));
}

TEST_F(Pages, ScreenSmallerThanThePageAndTheFinishPageAskingTheScreen)
{
    MessageBoxRecorder boxes;
    SetupState.ScreenWidth = 200;
    SetupState.ScreenHeight = 100;
    Welcome({{"SETUP_BEGIN", [](HWND page) {
        RECT r;
        GetWindowRect(page, &r);
        EXPECT_LT(r.left, 0) << "placed partly off screen";
        EXPECT_LT(r.top, 0);
        ExpectCentredOn(page, 200, 100);
        Click(page, IDC_NEXT);
    }}});
    Finish({{"SETUP_END", [](HWND page) {
        ExpectCentredOn(page, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        Click(page, IDC_NEXT);
    }}});
}

TEST_F(Pages, MouseTypeKeepsTheChoiceAcrossBackAndSetsBack)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(1, SetupState.MouseKind);
    EXPECT_EQ(PAGE_BACK, MouseType({{"SETUP_SELMOUSE", [](HWND page) {
        EXPECT_EQ("Orvel Setup", WindowText(page));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_SERIAL));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, IDC_PS2));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
        Click(page, IDC_PS2);
        EXPECT_EQ(0, SetupState.MouseKind) << "stored at the click";
        Click(page, IDC_BACK);
    }}}));
    EXPECT_EQ(0, SetupState.MouseKind);

    SetupState.MouseBackEnabled = 0;
    EXPECT_EQ(PAGE_CANCEL, MouseType({{"SETUP_SELMOUSE", [](HWND page) {
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_PS2)) << "reopens with PS/2";
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
        Click(page, IDC_SERIAL);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PS2, 5), 0);
        EXPECT_EQ(1, SetupState.MouseKind) << "only a click counts";
        Escape(page);
    }}}));
    EXPECT_EQ(1, SetupState.MouseKind) << "the choice outlives a cancel";
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(AbortText, boxes.Calls()[0].text);

    EXPECT_EQ(PAGE_NEXT, MouseType({{"SETUP_SELMOUSE", [](HWND page) { Click(page, IDC_NEXT); }}}));
}

TEST_F(Pages, DestinationRefusesWhatCannotBeInstalledInto)
{
    ScratchDir dir("pages");
    WriteWholeFile(dir.Path() + "\\plainfile", "x");
    MessageBoxRecorder boxes;
    short result = Destination({{"SETUP_SELDIR", [&](HWND page) {
        EXPECT_EQ("Orvel Setup", WindowText(page));
        EXPECT_EQ("Orvel files are to be installed :", ItemText(page, IDC_HEADLINE));
        EXPECT_EQ("C:\\t\\pages\\Orvel", ItemText(page, IDC_DIRTEXT));
        for (const char *bad : {"C:", "\\\\server\\share\\dir", "C:\\t\\pages\\nope\\child",
                                "C:\\t\\pages\\plainfile", "Q:\\ORVEL", "", "ORVEL"}) {
            std::vector<MessageBoxCall> shown = NextWith(page, bad, boxes);
            ASSERT_EQ(1u, shown.size()) << bad;
            EXPECT_EQ(CannotCreateText, shown[0].text) << bad;
            EXPECT_EQ("Orvel Setup Program", shown[0].caption);
            EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), shown[0].style);
            EXPECT_EQ(page, shown[0].owner);
            EXPECT_TRUE(IsWindow(page)) << bad;
            EXPECT_EQ(std::string(bad), SetupState.InstallDir) << "holds the text just read";
            EXPECT_EQ(PAGE_NEXT, SetupState.LastPageResult) << "set before any test";
        }
        // An existing directory answered Cancel: the page stays, nothing more is said.
        boxes.Answer(IDCANCEL);
        std::vector<MessageBoxCall> asked = NextWith(page, dir.Path(), boxes);
        ASSERT_EQ(1u, asked.size());
        EXPECT_EQ(DirExistsText, asked[0].text);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), asked[0].style);
        EXPECT_TRUE(IsWindow(page));
        boxes.Answer(IDOK);
        // A path longer than 79 characters is read cut.
        NextWith(page, "Q:\\" + std::string(100, 'x'), boxes);
        EXPECT_EQ("Q:\\" + std::string(76, 'x'), SetupState.InstallDir);
        boxes.Clear();
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_NEXT, 1), 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BACK, 1), 0);
        EXPECT_TRUE(boxes.Calls().empty() && IsWindow(page)) << "notification codes are ignored";
        Click(page, IDC_BACK);
    }}});
    EXPECT_EQ(PAGE_BACK, result);
    boxes.Clear();
    EXPECT_EQ(PAGE_CANCEL, Destination({{"SETUP_SELDIR", Escape}}));
    ASSERT_EQ(1u, boxes.Calls().size()) << "Esc is Cancel with the abort notice";
    EXPECT_EQ(AbortText, boxes.Calls()[0].text);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\t\\pages\\nope"));
}

TEST_F(Pages, DestinationAcceptsAndCreates)
{
    ScratchDir dir("pages");
    MessageBoxRecorder boxes;
    {
        // An existing directory answered OK is taken without being created.
        FakeDrive drive(8, 512, 1);   // 4 KB free
        SetupState.MinimumSpace = 4;
        EXPECT_EQ(PAGE_NEXT, Destination({{"SETUP_SELDIR", [&](HWND page) {
            NextWith(page, dir.Path(), boxes);
        }}}));
        ASSERT_EQ(1u, boxes.Calls().size());
        EXPECT_EQ(DirExistsText, boxes.Calls()[0].text);
        EXPECT_EQ("C:\\", drive.root);
    }
    {
        // A lower-case drive: the root is asked upper-cased, the directory keeps its case.
        FakeDrive drive(8, 512, 0);
        SetupState.MinimumSpace = 0;
        EXPECT_EQ(PAGE_NEXT, Destination({{"SETUP_SELDIR", [&](HWND page) {
            EXPECT_TRUE(NextWith(page, "c:\\t\\pages\\NewDir", boxes).empty());
        }}}));
        EXPECT_EQ("C:\\", drive.root);
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA("C:\\t\\pages\\newdir", &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        FindClose(h);
        EXPECT_STREQ("NewDir", found.cFileName);
        EXPECT_TRUE(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_STREQ("c:\\t\\pages\\NewDir", SetupState.InstallDir);
    }
    {
        // Next takes the destination in its one form: no backslash at its end, no "..".
        FakeDrive drive(8, 512, 0);
        SetupState.MinimumSpace = 0;
        EXPECT_EQ(PAGE_NEXT, Destination({{"SETUP_SELDIR", [&](HWND page) {
            EXPECT_TRUE(NextWith(page, dir.Path() + "\\x\\..\\Trail\\", boxes).empty());
        }}}));
        EXPECT_EQ(dir.Path() + "\\Trail", SetupState.InstallDir);
        EXPECT_TRUE(IsExistingDirectory((dir.Path() + "\\Trail").c_str()));
    }
    {
        // Free space below MinimumSpace, then exactly MinimumSpace.
        FakeDrive drive(2, 512, 1000);   // 1000 KB
        SetupState.MinimumSpace = 1001;
        EXPECT_EQ(PAGE_NEXT, Destination({{"SETUP_SELDIR", [&](HWND page) {
            std::vector<MessageBoxCall> shown = NextWith(page, dir.Path() + "\\Space", boxes);
            ASSERT_EQ(1u, shown.size());
            EXPECT_EQ(NoSpaceText, shown[0].text);
            EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), shown[0].style);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir.Path() + "\\Space").c_str()));
            SetupState.MinimumSpace = 1000;
            EXPECT_TRUE(NextWith(page, dir.Path() + "\\Space", boxes).empty());
        }}}));
        EXPECT_TRUE(IsExistingDirectory((dir.Path() + "\\Space").c_str()));
    }
    {
        // 4 GiB and 8 KB free: a 32-bit product would wrap to 8 KB.
        FakeDrive drive(1, 4096, 1048578);
        SetupState.MinimumSpace = 32767;
        EXPECT_EQ(PAGE_NEXT, Destination({{"SETUP_SELDIR", [&](HWND page) {
            EXPECT_TRUE(NextWith(page, dir.Path() + "\\Big", boxes).empty());
        }}}));
        // A negative MinimumSpace keeps its sign when widened and asks for about 4 TB.
        SetupState.MinimumSpace = -1;
        EXPECT_EQ(PAGE_CANCEL, Destination({{"SETUP_SELDIR", [&](HWND page) {
            std::vector<MessageBoxCall> shown = NextWith(page, dir.Path() + "\\Neg", boxes);
            ASSERT_EQ(1u, shown.size());
            EXPECT_EQ(NoSpaceText, shown[0].text);
            Click(page, IDC_CANCEL);
        }}}));
    }
}

TEST_F(Pages, FinishRecordsTheRestartChoice)
{
    MessageBoxRecorder boxes;
    SetupState.LastPageResult = 7;
    short result = Finish({{"SETUP_END", [](HWND page) {
        EXPECT_EQ("Orvel Setup", WindowText(page));
        EXPECT_EQ("You have installed Orvel Successfully !", ItemText(page, IDC_HEADLINE));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_REBOOTNOW));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(page, IDC_REBOOTLATER));
        SendMessageA(page, WM_COMMAND, IDC_CANCEL, 0);
        SendMessageA(page, WM_COMMAND, IDC_BACK, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_NEXT, 1), 0);
        EXPECT_TRUE(IsWindow(page)) << "only a plain command 1 closes it";
        Escape(page);
    }}, {"SETUP_END", [](HWND page) {
        EXPECT_TRUE(IsWindow(page)) << "Esc does nothing here";
        Click(page, IDC_REBOOTLATER);
        EXPECT_EQ(1, SetupState.RebootChoice) << "taken at Finish, not at the click";
        Click(page, IDC_NEXT);
    }, true}});
    EXPECT_EQ(7, result) << "the finish page leaves LastPageResult alone";
    EXPECT_EQ(0, SetupState.RebootChoice);
    EXPECT_TRUE(boxes.Calls().empty());

    Finish({{"SETUP_END", [](HWND page) {
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(page, IDC_REBOOTLATER));
        Click(page, IDC_REBOOTNOW);
        Click(page, IDC_NEXT);
    }}});
    EXPECT_EQ(0, SetupState.RebootChoice) << "Yes does not set it back";
}

TEST_F(Pages, BrowserTakesTheEditFieldOnOkOnly)
{
    ScratchDir dir("pages");
    CreateDirectoryA((dir.Path() + "\\Inner").c_str(), 0);
    SetCurrentDirectoryA(dir.Path().c_str());
    MessageBoxRecorder boxes;
    auto browse = [](HWND page) { Click(page, IDC_BROWSE); };
    // Wine titles the old-style dialog "Open File" where Windows keeps the template's
    // title, so the browser is found by its class alone (message boxes are recorded).
    auto inBrowser = [](std::function<void(HWND)> act, bool again = false) {
        return PageStep{"#32770", act, again};
    };
    short result = Destination({
        {"SETUP_SELDIR", browse},
        inBrowser([](HWND box) {
            EXPECT_EQ("C:\\t\\pages\\Orvel", ItemText(box, IDC_DIRTEXT));
            EXPECT_EQ("12345678.ABC", ItemText(box, 1152)) << "the hidden name field: the dummy name";
            EXPECT_EQ(GetDlgItem(box, IDC_DIRTEXT), GetFocus()) << "the edit field has the focus";
            DWORD start = 0, end = 0;
            SendDlgItemMessageA(box, IDC_DIRTEXT, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
            EXPECT_EQ(0u, start);
            EXPECT_EQ(16u, end) << "the whole text is selected";
            SetDlgItemTextA(box, IDC_DIRTEXT, "X:\\junk");
            Click(box, IDCANCEL);
        }),
        {"SETUP_SELDIR", [](HWND page) {
            EXPECT_STREQ("", SetupState.InstallDir) << "Cancel takes nothing";
            EXPECT_EQ("C:\\t\\pages\\Orvel", ItemText(page, IDC_DIRTEXT));
            Click(page, IDC_BROWSE);
        }, true},
        inBrowser([](HWND box) {
            SetDlgItemTextA(box, IDC_DIRTEXT, ("D:\\" + std::string(100, 'y')).c_str());
            Click(box, IDOK);
        }),
        {"SETUP_SELDIR", [](HWND page) {
            std::string typed = "D:\\" + std::string(76, 'y');
            EXPECT_EQ(typed, SetupState.InstallDir) << "OK takes at most 79 characters";
            EXPECT_EQ(typed, ItemText(page, IDC_DIRTEXT));
            Click(page, IDC_BROWSE);
        }, true},
        inBrowser([](HWND box) {
            SetDlgItemTextA(box, IDC_DIRTEXT, "C:\\t\\pages\\..\\pages\\Inner\\");
            Click(box, IDOK);
        }),
        {"SETUP_SELDIR", [](HWND page) {
            EXPECT_STREQ("C:\\t\\pages\\Inner", SetupState.InstallDir) << "taken in its one form";
            EXPECT_EQ("C:\\t\\pages\\Inner", ItemText(page, IDC_DIRTEXT));
            Click(page, IDC_BROWSE);
        }, true},
        inBrowser([](HWND box) {
            // The dialog opens in C:\; a double click on [t] enters it.
            HWND list = GetDlgItem(box, 1121);
            int item = (int)SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)"[t]");
            ASSERT_GE(item, 0) << "no [t] in the directory list";
            SendMessageA(list, LB_SETCURSEL, item, 0);
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(1121, LBN_DBLCLK), (LPARAM)list);
        }),
        inBrowser([](HWND box) {
            EXPECT_STRCASEEQ("C:\\t", ItemText(box, IDC_DIRTEXT).c_str()) << "the entered directory";
            Click(box, IDOK);
        }, true),
        {"SETUP_SELDIR", [](HWND page) {
            EXPECT_STRCASEEQ("C:\\t", SetupState.InstallDir);
            Click(page, IDC_BACK);
        }, true},
    });
    EXPECT_EQ(PAGE_BACK, result);
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    EXPECT_STRCASEEQ(dir.Path().c_str(), cwd) << "browsing leaves the current directory alone";
    SetCurrentDirectoryA("C:\\");
}

TEST(PageRunner, WaitPumpingAndPollCancel)
{
    ResetSetupState();
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE))
        ;
    PostMessageA(0, WM_USER + 5, 0, 0);
    WaitPumping(0);
    EXPECT_TRUE(PeekMessageA(&msg, 0, WM_USER + 5, WM_USER + 5, PM_REMOVE))
        << "a zero wait leaves the queue alone";

    PostMessageA(0, WM_USER + 5, 0, 0);
    PostQuitMessage(3);
    DWORD start = GetTickCount();
    WaitPumping(100);
    EXPECT_GE(GetTickCount() - start, 90u);
    ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) << "the quit request survives";
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_EQ(3u, msg.wParam);
    EXPECT_FALSE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) << "input is discarded";

    // PollCancel takes every message queued for the page, up to Cancel (command 1).
    HWND page = CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(1, PollCancel(page)) << "nothing queued";
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1, 1), 0);
    EXPECT_EQ(1, PollCancel(page)) << "a command with a notification code is no Cancel";
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1, 1), 0);
    PostMessageA(page, WM_COMMAND, 1, 0);
    PostMessageA(page, WM_USER + 6, 0, 0);
    EXPECT_EQ(0, PollCancel(page)) << "the Cancel behind another message";
    EXPECT_EQ(1, PollCancel(page));
    EXPECT_FALSE(PeekMessageA(&msg, page, 0, 0, PM_REMOVE)) << "what came after it taken too";
    DestroyWindow(page);
    // After the page is gone its quit request must still reach the page loop.
    PostQuitMessage(4);
    EXPECT_EQ(1, PollCancel(page));
    ASSERT_TRUE(PeekMessageA(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_EQ(4u, msg.wParam);
}

TEST(PageRunner, MissingTemplateReturnsCancelAtOnce)
{
    ResetSetupState();
    SetupState.LastPageResult = PAGE_NEXT;
    EXPECT_EQ(PAGE_CANCEL, RunPage("SETUP_NONE", DefWindowProcA, 999));
}

TEST(RigLook, Windows98StandardColours)
{
    // The pages' own brush (menu colour) and their texts' (3D face) are the same grey
    // there, so no text stands on a band of its own; windows white, a navy title bar.
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_MENU));
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(255, 255, 255), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(RGB(0, 0, 128), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(RGB(16, 132, 208), GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    EXPECT_EQ(RGB(128, 128, 128), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(RGB(0, 0, 0), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(RGB(0, 0, 128), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(RGB(0, 128, 128), GetSysColor(COLOR_BACKGROUND));
}

}  // namespace
