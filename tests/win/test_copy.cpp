// The copy page on real SZDD files: expansion, progress texts and bar (read back from
// the screen), skipped entries, Cancel in the middle of a disk, and the closing step.
#include <gtest/gtest.h>
#include "testlib.h"
#include <set>
#include <sstream>
#include <lzexpand.h>
#include "resource.h"
#include "ui/copy_page.h"
#include "install/system_patch.h"
#include "ui/page_runner.h"
#include "shared/script_loader.h"
#include "controller/controller.h"
#include "controller/wizard_faces.h"
#include "controller/page_walk.h"
#include "shared/wininit.h"

namespace {

// What the page showed each time the program opened a file through the LZ service.
struct LzOpen {
    std::string path;
    WORD mode;
    std::string status, percent;
    int barWidth;    // blue pixels from the bar's left end, -1 when no page
    COLORREF atLeft; // the colour at the bar's left end
};
std::vector<LzOpen> Opens;
void *RealLzOpen;
std::function<void(const LzOpen &)> OnOpen;

// Where the bar lies, worked out from template 103: control 1011 is 141 x 12 dialog
// units at (96, 69); with the template's Arial 8 as the rig renders it (7 pixels per 4
// horizontal units, 13 per 8 vertical ones) that is 247 x 20 pixels at (168, 112) of
// the page's client area. The bar starts 2 pixels in and 1 to the left and top, and at
// 100% it is the inside width less 4, plus 1: 244 pixels.
const int BarLeft = 168 + 2 - 1, BarMiddleRow = 112 + 2 - 1 + 8, FullBar = 244;

// The blue run along the bar's middle row.
void MeasureBar(HWND page, LzOpen &o)
{
    HDC dc = GetDC(page);
    int x = BarLeft;
    o.atLeft = GetPixel(dc, x, BarMiddleRow);
    while (x < BarLeft + FullBar + 3 && GetPixel(dc, x, BarMiddleRow) == RGB(0, 0, 255))
        x++;
    ReleaseDC(page, dc);
    o.barWidth = x - BarLeft;
}

void RecordOpen(const char *path, WORD mode)
{
    LzOpen o = {path, mode, "", "", -1, 0};
    if (HWND page = FindOwnWindow("SETUP_INSTALL")) {
        o.status = ItemText(page, IDC_STATUS);
        o.percent = ItemText(page, IDC_PERCENT);
        MeasureBar(page, o);
    }
    Opens.push_back(o);
    if (OnOpen)
        OnOpen(Opens.back());
}

INT WINAPI RecordLzOpen(LPSTR path, LPOFSTRUCT of, WORD mode)
{
    RecordOpen(path, mode);
    return ((INT(WINAPI *)(LPSTR, LPOFSTRUCT, WORD))RealLzOpen)(path, of, mode);
}

// A file the copy writes is made new (the target itself, or a temporary file that
// becomes it): counted as a create.
void *RealCreateFile;
HANDLE WINAPI RecordCreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                               DWORD how, DWORD flags, HANDLE model)
{
    std::string name = path;   // the record's file, made for a record of nothing there, is no copy
    if (how == CREATE_NEW && (name.size() < 10 || name.substr(name.size() - 10) != "\\SETUP.INF"))
        RecordOpen(path, OF_CREATE);
    return ((HANDLE(WINAPI *)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                              HANDLE))RealCreateFile)(path, access, share, sa, how, flags, model);
}

// The page's status text when the registration starts.
std::string StatusAtRegistration, PercentAtRegistration;
void *RealCreateKey;
LONG WINAPI WatchCreateKey(HKEY root, LPCSTR sub, DWORD r, LPSTR cls, DWORD opt, REGSAM sam,
                           LPSECURITY_ATTRIBUTES sa, PHKEY key, LPDWORD disp)
{
    if (StatusAtRegistration.empty())
        if (HWND page = FindOwnWindow("SETUP_INSTALL"))
        {
            StatusAtRegistration = ItemText(page, IDC_STATUS);
            PercentAtRegistration = ItemText(page, IDC_PERCENT);
        }
    return ((LONG(WINAPI *)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                            PHKEY, LPDWORD))RealCreateKey)(root, sub, r, cls, opt, sam, sa, key, disp);
}

class Copy : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(MediaFile("").empty()) << "TEST_MEDIA is not set";
        ResetSetupState();
        RealLzOpen = lzOpen_.Original();
        RealCreateFile = createFile_.Original();
        RealCreateKey = createKey_.Original();
        ASSERT_TRUE(lzOpen_.Applied() && createFile_.Applied() && createKey_.Applied());
        Opens.clear();
        OnOpen = nullptr;
        StatusAtRegistration.clear();
        SetupState.ScreenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
        SetupState.ScreenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
        CreateDirectoryA((win_.Path() + "\\SYSTEM").c_str(), 0);
        lstrcpyA(SetupState.WindowsDir, win_.Path().c_str());
        // the medium lies beside the test program, where SETUP.EXE would be
        const char *files[][2] = {{"DISK", "KXMAIN.EX_"}, {"DISK", "KXPAGE.DL_"},
                                  {"DISK", "README.TXT"}, {"HELP", "README.TXT"},
                                  {"SYS", "VMOUSE.VX_"}, {"DISK", "EMPTY.DA_"},
                                  {"DISK", "EVEN.DA_"}, {"DISK", "ODD.DA_"}};
        for (auto &f : files) {
            CreateDirectoryA((ProgramDir() + "\\" + f[0]).c_str(), 0);
            CopyFileA(MediaFile(std::string("disk\\") + f[1]).c_str(),
                      (ProgramDir() + "\\" + f[0] + "\\" + f[1]).c_str(), FALSE);
        }
    }
    void TearDown() override
    {
        for (const char *dir : {"\\DISK", "\\HELP", "\\SYS"})
            RemoveTree(ProgramDir() + dir);
        RemoveSetupInf();
        ResetSetupState();
        OnOpen = nullptr;
    }
    // Loads a script whose destination is the scratch directory, then runs the page.
    short Install(const std::string &script)
    {
        WriteSetupInf("[Main]\nDefaultPath=C:\\t\\copy\\dest\n[DirectoryName]\nRootDir=DISK\n"
                      "SubDir1=DISK\nSubDir2=HELP\nWinSystemDir=SYS\n" + script);
        EXPECT_EQ(1, LoadSetupScript());
        lstrcpyA(SetupState.InstallDir, dest_.c_str());
        CreateDirectoryA(dest_.c_str(), 0);
        DWORD start = GetTickCount();
        GivePagesTheirWork();
        short result = RunCopyPage();
        elapsed_ = GetTickCount() - start;
        return result;
    }
    static std::string Original(const char *name) { return ReadWholeFile(MediaFile(std::string("orig\\") + name)); }
    std::vector<LzOpen> OpensFor(WORD mode)
    {
        std::vector<LzOpen> out;
        for (const LzOpen &o : Opens)
            if (o.mode == mode)
                out.push_back(o);
        return out;
    }

    RegistryGuard registry_;
    ScratchDir copy_{"copy"};
    ScratchDir win_{"copy\\win"};
    std::string dest_ = "C:\\t\\copy\\dest";
    DWORD elapsed_ = 0;
    ImportPatch lzOpen_{"lz32.dll", "LZOpenFileA", (void *)RecordLzOpen};
    ImportPatch createFile_{"kernel32.dll", "CreateFileA", (void *)RecordCreateFile};
    ImportPatch createKey_{"advapi32.dll", "RegCreateKeyExA", (void *)WatchCreateKey};
};

TEST_F(Copy, NoDisksGoesStraightToTheRegistration)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(PAGE_NEXT, Install(""));
    EXPECT_TRUE(Opens.empty());
    EXPECT_EQ("Updating Registry...", StatusAtRegistration);
    EXPECT_GE(elapsed_, 1000u) << "one second's pause before the registration";
    EXPECT_EQ(dest_ + "\\KXMAIN.EXE -startup", GetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse"))
        << "the product entries were written";
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(Copy, TwoDisksExpandAndShowProgressPerDisk)
{
    MessageBoxRecorder boxes;
    short result = Install("[DiskLabel]\nDisk1=One\nDisk2=Two\n[FileCounts]\nDisk1=3\nDisk2=3\n"
                           "[Disk1]\n1=KXMAIN.EX_,KXMAIN.EXE,Mouse program,RootDir\n"
                           "2=README.TXT,README.TXT,Read me first,SubDir2\n"
                           "3=VMOUSE.VX_,VMOUSE.VXD,Mouse driver,WinSystemDir\n"
                           "[Disk2]\n1=KXPAGE.DL_,KXPAGE.DLL,Property page,SubDir1\n"
                           "2=README.TXT,R2.TXT,Second read-me,RootDir\n");
    EXPECT_EQ(PAGE_NEXT, result);
    EXPECT_TRUE(boxes.Calls().empty()) << "the empty third entry of disk 2 is no file to ask for";

    // Expanded under the target names, plain files byte for byte.
    EXPECT_EQ(Original("KXMAIN.EXE"), ReadWholeFile(dest_ + "\\DISK\\KXMAIN.EXE"));
    EXPECT_EQ(Original("README.TXT"), ReadWholeFile(dest_ + "\\HELP\\README.TXT"))
        << "SubDir2 was created below the destination";
    EXPECT_EQ(Original("VMOUSE.VXD"), ReadWholeFile(win_.Path() + "\\SYSTEM\\VMOUSE.VXD"))
        << "WinSystemDir lands in the Windows SYSTEM directory";
    EXPECT_EQ(Original("KXPAGE.DLL"), ReadWholeFile(dest_ + "\\DISK\\KXPAGE.DLL"));
    EXPECT_EQ(Original("README.TXT"), ReadWholeFile(dest_ + "\\DISK\\R2.TXT"));

    std::vector<LzOpen> reads = OpensFor(OF_READ), creates = OpensFor(OF_CREATE);
    ASSERT_EQ(6u, reads.size()) << "every entry's source is looked for, the empty one too";
    EXPECT_EQ(ProgramDir() + "\\DISK\\KXMAIN.EX_", reads[0].path);
    EXPECT_EQ(ProgramDir(), reads[5].path) << "the empty entry names no file, only its directory";
    ASSERT_EQ(5u, creates.size());
    EXPECT_EQ("Copying KXMAIN.EX_\n\nMouse program", creates[0].status);
    const char *percents[] = {"33%", "66%", "100%", "33%", "66%"};
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(percents[i], creates[i].percent) << "file " << i;

    // Disk 2 starts with an empty bar while the percentage still shows disk 1's end.
    EXPECT_EQ("100%", reads[3].percent);
    EXPECT_EQ(0, reads[3].barWidth);
    EXPECT_EQ("100%", PercentAtRegistration) << "the empty entry still advanced the percentage";
    EXPECT_EQ("Updating Registry...", StatusAtRegistration);
}

// The copy expands in blocks of 32 KB: a file of none, of exactly two and of two and a
// byte is written whole, each as it was before it was compressed.
TEST_F(Copy, FilesAtTheEdgesOfTheExpansionBlocksAreWrittenWhole)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(PAGE_NEXT, Install("[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=3\n[Disk1]\n"
                                 "1=EMPTY.DA_,EMPTY.DAT,None,RootDir\n"
                                 "2=EVEN.DA_,EVEN.DAT,Two blocks,RootDir\n"
                                 "3=ODD.DA_,ODD.DAT,Two blocks and a byte,RootDir\n"));
    EXPECT_TRUE(boxes.Calls().empty()) << (boxes.Calls().empty() ? "" : boxes.Calls()[0].text);
    for (const char *name : {"EMPTY.DAT", "EVEN.DAT", "ODD.DAT"}) {
        std::string installed = ReadWholeFile(dest_ + "\\DISK\\" + name);
        EXPECT_EQ(Original(name).size(), installed.size()) << name;
        EXPECT_TRUE(Original(name) == installed) << name << " expanded as the original";
    }
    EXPECT_EQ(0u, Original("EMPTY.DAT").size());
    EXPECT_EQ(65537u, Original("ODD.DAT").size());
}

TEST_F(Copy, SevenEntryBarGrowsInSevenths)
{
    std::string lines = "[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=7\n[Disk1]\n";
    for (int i = 1; i <= 7; i++)
        lines += std::to_string(i) + "=README.TXT,R" + std::to_string(i) + ".TXT,Copy,RootDir\n";
    EXPECT_EQ(PAGE_NEXT, Install(lines));
    std::vector<LzOpen> creates = OpensFor(OF_CREATE);
    ASSERT_EQ(7u, creates.size());
    EXPECT_EQ(0, OpensFor(OF_READ)[0].barWidth) << "the box starts white";
    const int percents[] = {14, 28, 42, 57, 71, 85, 100};
    const int widths[] = {34, 68, 102, 139, 173, 207, FullBar};   // 244 * p / 100
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(widths[i], creates[i].barWidth) << "entry " << i << " at " << percents[i]
                                                 << "%; colour at the left end " << std::hex
                                                 << creates[i].atLeft;
        EXPECT_EQ(std::to_string(percents[i]) + "%", creates[i].percent);
    }
}

TEST_F(Copy, CancelCompletesTheEntryUnderWayAndStillRegisters)
{
    MessageBoxRecorder boxes;
    HWND backdrop = CreateWindowExA(0, "STATIC", "backdrop", WS_POPUP, 0, 0, 5, 5, 0, 0, 0, 0);
    SetupState.BackdropWindow = backdrop;
    // The script and the uninstaller are in the destination already.
    CreateDirectoryA(dest_.c_str(), 0);
    WriteWholeFile(dest_ + "\\SETUP.INF", "[Main]\r\n");
    WriteWholeFile(dest_ + "\\UNINSTAL.EXE", "uninstaller");
    // The user clicks Cancel while the second file is being written, which takes longer
    // than the page waits between two looks at its button (50 ms).
    OnOpen = [creates = 0](const LzOpen &o) mutable {
        if (o.mode == OF_CREATE && ++creates == 2) {
            PostClick(FindOwnWindow("SETUP_INSTALL"), IDC_NEXT);
            Sleep(60);
        }
    };
    std::string lines = "[DiskLabel]\nDisk1=One\nDisk2=Two\n[FileCounts]\nDisk1=5\nDisk2=1\n[Disk1]\n";
    for (int i = 1; i <= 5; i++)
        lines += std::to_string(i) + "=README.TXT,R" + std::to_string(i) + ".TXT,Copy,RootDir\n";
    lines += "[Disk2]\n1=README.TXT,D2.TXT,Copy,RootDir\n";
    EXPECT_EQ(PAGE_CANCEL, Install(lines));

    // The click is taken at the first look after it: file 2 is completed, nothing after
    // it is opened.
    std::vector<LzOpen> reads = OpensFor(OF_READ);
    ASSERT_EQ(2u, reads.size());
    EXPECT_EQ(Original("README.TXT"), ReadWholeFile(dest_ + "\\DISK\\R2.TXT"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dest_ + "\\DISK\\R3.TXT").c_str()));
    EXPECT_EQ(1, IsMouseAppRegistered()) << "the registration runs after a cancel too";

    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(AbortText, boxes.Calls()[0].text);
    EXPECT_EQ(backdrop, boxes.Calls()[0].owner) << "the page is gone; the backdrop owns it";
    EXPECT_FALSE(boxes.Calls()[0].quitPending) << "the notice stays up until answered";
    DestroyWindow(backdrop);
}

TEST_F(Copy, CancelledCopyInTheWizardEndsWithoutPatchOrRestart)
{
    SystemFilesGuard systemFiles;
    std::string ini = ReadWholeFile(WindowsDirectory() + "\\system.ini");
    SetupState.WindowsDir[0] = 0;
    WriteSetupInf("[Main]\nMinimumSpace=0\nDefaultPath=C:\\t\\copy\\dest\n[DirectoryName]\nRootDir=DISK\n"
                  "[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=3\n[Disk1]\n"
                  "1=README.TXT,A.TXT,a,RootDir\n2=README.TXT,B.TXT,b,RootDir\n3=README.TXT,C.TXT,c,RootDir\n");
    OnOpen = [](const LzOpen &o) {
        if (o.mode == OF_READ && o.path.find("README.TXT") != std::string::npos)
            PostClick(FindOwnWindow("SETUP_INSTALL"), IDC_NEXT);
    };
    ImportPatch restart("user32.dll", "ExitWindowsEx", (void *)+[](UINT, DWORD) -> BOOL {
        ADD_FAILURE() << "restart requested after a cancelled copy";
        return TRUE;
    });
    MessageBoxRecorder boxes;
    bool finishShown = false;
    {
        PageDriver driver({{"SETUP_BEGIN", [](HWND p) { Click(p, IDC_NEXT); }},
                           {"SETUP_SELMOUSE", [](HWND p) { Click(p, IDC_NEXT); }},
                           {"SETUP_SELDIR", [](HWND p) { Click(p, IDC_NEXT); }}});
        WinMain(GetModuleHandleA(0), 0, (LPSTR) "", SW_SHOWNORMAL);
        finishShown = FindOwnWindow("SETUP_END") != nullptr;
    }
    EXPECT_FALSE(finishShown);
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(AbortText, boxes.Calls()[0].text);
    EXPECT_EQ(ini, ReadWholeFile(WindowsDirectory() + "\\system.ini")) << "not patched";
    EXPECT_EQ(0, IsMouseAppRegistered())
        << "nothing registered: the destination holds no uninstaller that could remove it";
    EXPECT_EQ("<no key>", GetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"));
    EXPECT_EQ(nullptr, SetupState.FileTableHandle);
}

// The copy page's class for the time of a test that makes the page from its template
// without running it; a class the test registered is taken away again.
struct CopyPageClass {
    bool own;
    CopyPageClass()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = GetModuleHandleA(0);
        wc.lpszClassName = "SETUP_INSTALL";
        own = RegisterClassA(&wc) != 0;   // or the one RunPage registered stays in use
    }
    ~CopyPageClass()
    {
        if (own)
            UnregisterClassA("SETUP_INSTALL", GetModuleHandleA(0));
        MSG quit;   // a page of the real class posts one when it goes
        PeekMessageA(&quit, 0, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
};


UINT AskStyle = MB_RETRYCANCEL | MB_ICONEXCLAMATION;

// A source that is not there asks for its disk by label: with labels for Disk1 and
// Disk3 only, the second disk is the second label. Retry after the file is back.
TEST_F(Copy, AMissingSourceAsksForItsDiskAndRetryTakesItWhenItIsBack)
{
    MessageBoxRecorder boxes;
    std::string missing = ProgramDir() + "\\DISK\\LATER.EX_";
    std::string ownerClass;
    boxes.Answer([&](const MessageBoxCall &box) {
        char cls[32] = "";
        GetClassNameA(box.owner, cls, sizeof cls);
        ownerClass = cls;
        CopyFileA(MediaFile("disk\\KXMAIN.EX_").c_str(), missing.c_str(), FALSE);
        return IDRETRY;
    });
    EXPECT_EQ(PAGE_NEXT, Install("[DiskLabel]\nDisk1=First disk\nDisk3=Third disk\n"
                                 "[FileCounts]\nDisk1=1\nDisk2=1\n"
                                 "[Disk1]\n1=README.TXT,R1.TXT,Read me,RootDir\n"
                                 "[Disk2]\n1=LATER.EX_,LATER.EXE,Comes later,RootDir\n"));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ("Please insert 'Third disk' into your disk drive !\n\n" + missing, boxes.Calls()[0].text);
    EXPECT_EQ("Orvel Setup Program", boxes.Calls()[0].caption);
    EXPECT_EQ(AskStyle, boxes.Calls()[0].style);
    EXPECT_EQ("SETUP_INSTALL", ownerClass) << "the copy page owns the question";
    EXPECT_EQ(Original("KXMAIN.EXE"), ReadWholeFile(dest_ + "\\DISK\\LATER.EXE"));
    EXPECT_EQ(0, CountMatching(dest_ + "\\DISK\\*.TMP"));
}

// Control 1011's rectangle, as worked out above: DrawSunkenBox draws it white with a
// white outline, and a grey outline one pixel up and to the left.
const RECT Frame = {168, 112, 168 + 247, 112 + 20};

// What a page that was never covered shows at (x, y) of the frame's area with a bar
// of that width; CLR_INVALID at the two corners neither outline reaches.
COLORREF UncoveredFramePixel(int x, int y, int barWidth)
{
    if (x >= BarLeft && x < BarLeft + barWidth && y >= Frame.top + 1 && y < Frame.bottom - 3)
        return RGB(0, 0, 255);
    bool inGrey = x >= Frame.left - 1 && x <= Frame.right - 2 && y >= Frame.top - 1 && y <= Frame.bottom - 2;
    if (inGrey && (x == Frame.left - 1 || x == Frame.right - 2 || y == Frame.top - 1 || y == Frame.bottom - 2))
        return RGB(128, 128, 128);
    if (x >= Frame.left && y >= Frame.top)
        return RGB(255, 255, 255);   // the white outline and the inside
    return CLR_INVALID;
}

// Where the question's box stood: over the frame, the bar and the percentage.
const RECT BoxImage = {160, 104, 480, 140};
const COLORREF Magenta = RGB(255, 0, 255);

// The box's image left on the page, and the area invalidated, as a box's closing does.
void LeaveBoxImage(HWND page)
{
    HDC dc = GetDC(page);
    HBRUSH magenta = CreateSolidBrush(Magenta);
    FillRect(dc, &BoxImage, magenta);
    DeleteObject(magenta);
    ReleaseDC(page, dc);
    RedrawWindow(page, &BoxImage, 0, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The pixels of the box's area that differ from a page never covered: magenta anywhere,
// and in the frame's area anything but the frame and the bar. Empty when none.
std::string PixelsUnlikeUncovered(HWND page, int barWidth)
{
    std::ostringstream out;
    int magenta = 0, wrong = 0;
    HDC dc = GetDC(page);
    for (int y = BoxImage.top; y < BoxImage.bottom; y++)
        for (int x = BoxImage.left; x < BoxImage.right; x++) {
            COLORREF shown = GetPixel(dc, x, y);
            magenta += shown == Magenta;
            bool inFrame = x >= Frame.left - 1 && x < Frame.right && y >= Frame.top - 1 && y < Frame.bottom;
            COLORREF expected = inFrame ? UncoveredFramePixel(x, y, barWidth) : CLR_INVALID;
            if (expected != CLR_INVALID && shown != expected && wrong++ < 3)
                out << std::hex << " (" << std::dec << x << "," << y << ") is " << std::hex << shown
                    << " for " << expected << ";";
        }
    ReleaseDC(page, dc);
    if (magenta || wrong)
        out << std::dec << " " << magenta << " magenta, " << wrong << " frame or bar pixels wrong";
    return out.str();
}

// The question's box, gone after Retry, leaves its image (or a hole) over the frame and
// the bar: the page is drawn again whole, frame and bar too, before the file is copied
// again, and stays so at the next file.
TEST_F(Copy, RetryRepaintsThePageWhereTheQuestionStood)
{
    MessageBoxRecorder boxes;
    std::string missing = ProgramDir() + "\\DISK\\LATER.TXT";
    boxes.Answer([&](const MessageBoxCall &box) {
        LeaveBoxImage(box.owner);
        CopyFileA(MediaFile("disk\\README.TXT").c_str(), missing.c_str(), FALSE);
        return IDRETRY;
    });
    // Entry 4 of 7 is missing at first; entry 5 is the only KXPAGE.DL_.
    std::string atRetriedCopy = "not reached", atNextFile = "not reached";
    std::string percentAtRetriedCopy, percentAtNextFile;
    OnOpen = [&, creates = 0](const LzOpen &o) mutable {
        HWND page = FindOwnWindow("SETUP_INSTALL");
        if (o.mode == OF_CREATE && ++creates == 4 && page) {
            atRetriedCopy = PixelsUnlikeUncovered(page, 139);   // 57%, as in sevenths
            percentAtRetriedCopy = o.percent;
        }
        if (o.mode == OF_READ && o.path.find("KXPAGE.DL_") != std::string::npos && page) {
            atNextFile = PixelsUnlikeUncovered(page, 139);
            percentAtNextFile = o.percent;
        }
    };
    std::string lines = "[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=7\n[Disk1]\n";
    const char *sources[] = {"README.TXT", "README.TXT", "README.TXT", "LATER.TXT",
                             "KXPAGE.DL_", "README.TXT", "README.TXT"};
    for (int i = 1; i <= 7; i++)
        lines += std::to_string(i) + "=" + sources[i - 1] + ",R" + std::to_string(i) + ".TXT,Copy,RootDir\n";
    EXPECT_EQ(PAGE_NEXT, Install(lines));

    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(AskStyle, boxes.Calls()[0].style);
    EXPECT_EQ(Original("README.TXT"), ReadWholeFile(dest_ + "\\DISK\\R4.TXT"));
    EXPECT_EQ("", atRetriedCopy) << "the retried file is copied on a page drawn whole";
    EXPECT_EQ("", atNextFile) << "the next file starts on a page drawn whole";
    EXPECT_EQ("57%", percentAtRetriedCopy);
    EXPECT_EQ("57%", percentAtNextFile);
    std::vector<LzOpen> creates = OpensFor(OF_CREATE);
    ASSERT_EQ(7u, creates.size());
    EXPECT_EQ(139, creates[3].barWidth) << "the retried file's bar, 57%";
    EXPECT_EQ(FullBar, creates[6].barWidth) << "the bar still grows after the question";
}

// A damaged source, a target that cannot be made: asked about by the target's name;
// Cancel ends the copy as the page's Cancel button does and keeps the older file.
TEST_F(Copy, ADamagedSourceOrATargetThatCannotBeMadeIsAskedAboutAndCancelKeepsTheOldFile)
{
    std::string compressed = ReadWholeFile(MediaFile("disk\\KXPAGE.DL_"));
    WriteWholeFile(ProgramDir() + "\\DISK\\CUT.DL_", compressed.substr(0, compressed.size() / 2));
    CreateDirectoryA(dest_.c_str(), 0);
    CreateDirectoryA((dest_ + "\\DISK").c_str(), 0);
    WriteWholeFile(dest_ + "\\DISK\\CUT.DLL", "the older file");
    HWND backdrop = CreateWindowExA(0, "STATIC", "backdrop", WS_POPUP, 0, 0, 5, 5, 0, 0, 0, 0);
    SetupState.BackdropWindow = backdrop;
    MessageBoxRecorder boxes;
    bool pageGoneAtNotice = false;
    boxes.Answer([&](const MessageBoxCall &box) {
        pageGoneAtNotice = !FindOwnWindow("SETUP_INSTALL");
        return box.style & MB_RETRYCANCEL ? IDCANCEL : IDOK;
    });
    EXPECT_EQ(PAGE_CANCEL, Install("[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=2\n[Disk1]\n"
                                   "1=CUT.DL_,CUT.DLL,Cut short,RootDir\n"
                                   "2=README.TXT,R2.TXT,Never reached,RootDir\n"));
    ASSERT_EQ(2u, boxes.Calls().size());
    EXPECT_EQ("Can not expand the file\n" + dest_ + "\\DISK\\CUT.DLL !\n"
              "Its copy on the installation disk is damaged.", boxes.Calls()[0].text);
    EXPECT_EQ(AskStyle, boxes.Calls()[0].style);
    EXPECT_EQ(AbortText, boxes.Calls()[1].text) << "the abort notice, as after the page's Cancel";
    EXPECT_EQ(backdrop, boxes.Calls()[1].owner);
    EXPECT_TRUE(pageGoneAtNotice) << "Cancel closed the page at once";
    EXPECT_EQ("the older file", ReadWholeFile(dest_ + "\\DISK\\CUT.DLL"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dest_ + "\\DISK\\R2.TXT").c_str()));
    EXPECT_EQ(0, CountMatching(dest_ + "\\DISK\\*.TMP"));
    EXPECT_EQ(0, IsMouseAppRegistered()) << "no uninstaller in the destination: nothing registered";

    // A target directory that is not there: the Windows SYSTEM directory, gone.
    boxes.Clear();
    RemoveTree(win_.Path() + "\\SYSTEM");
    EXPECT_EQ(PAGE_CANCEL, Install("[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=1\n[Disk1]\n"
                                   "1=VMOUSE.VX_,VMOUSE.VXD,Driver,WinSystemDir\n"));
    ASSERT_EQ(2u, boxes.Calls().size());
    EXPECT_EQ("Can not create the file\n" + win_.Path() + "\\SYSTEM\\VMOUSE.VXD !\n"
              "The directory may be missing or the disk write protected.", boxes.Calls()[0].text);
    DestroyWindow(backdrop);
}

// A target another program holds open is not asked about: the new file waits under a
// temporary name, and WININIT.INI puts it in place at the next start of Windows.
TEST_F(Copy, ATargetInUseIsReplacedAtTheNextStart)
{
    std::string ini = WindowsDirectory() + "\\WININIT.INI";
    SavedFile wininit(ini);
    WriteWholeFile(ini, "[rename]\r\nNUL=C:\\OTHER1.TMP\r\nNUL=C:\\OTHER2.TMP\r\n");   // another program's
    CreateDirectoryA(dest_.c_str(), 0);
    CreateDirectoryA((dest_ + "\\DISK").c_str(), 0);
    std::string target = dest_ + "\\DISK\\HELD.TXT";
    WriteWholeFile(target, "in use");
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    MessageBoxRecorder boxes;
    EXPECT_EQ(PAGE_NEXT, Install("[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=1\n[Disk1]\n"
                                 "1=README.TXT,HELD.TXT,Held open,RootDir\n"));
    CloseHandle(held);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ("in use", ReadWholeFile(target));

    char shortTarget[MAX_PATH], line[MAX_PATH] = "";
    GetShortPathNameA(target.c_str(), shortTarget, sizeof shortTarget);
    GetPrivateProfileStringA("rename", shortTarget, "", line, sizeof line,
                             (WindowsDirectory() + "\\WININIT.INI").c_str());
    EXPECT_EQ(Original("README.TXT"), ReadWholeFile(line)) << "the new file waits as " << line;
    // Entries of the same key (deletions are all NUL=) are added, not replaced.
    EXPECT_EQ(1, ScheduleDeleteAtRestart(line));
    std::string all = ReadWholeFile(ini);
    for (const char *kept : {"NUL=C:\\OTHER1.TMP\r\n", "NUL=C:\\OTHER2.TMP\r\n"})
        EXPECT_NE(std::string::npos, all.find(kept)) << "other entries stay: " << all;
    EXPECT_NE(std::string::npos, all.find(std::string("NUL=") + line)) << all;
    DeleteFileA(line);
}

// Questions to the system for a path's short form, counted.
int ShortFormAsks;
void *RealGetShortPathName;
DWORD WINAPI CountShortPathName(LPCSTR path, LPSTR shortPath, DWORD size)
{
    ShortFormAsks++;
    return ((DWORD(WINAPI *)(LPCSTR, LPSTR, DWORD))RealGetShortPathName)(path, shortPath, size);
}

// Other programs' lines in WININIT.INI are looked at for every file, but the system is
// asked for their forms once: a new file costs its own short form (two questions: it
// is not there, its directory is), however many lines wait.
TEST_F(Copy, PendingLinesOfOtherProgramsAreAskedAboutOnce)
{
    std::string ini = WindowsDirectory() + "\\WININIT.INI";
    SavedFile wininit(ini);
    const std::string others = "[rename]\r\nNUL=C:\\OTHER1.TMP\r\nNUL=C:\\OTHER2.TMP\r\n"
                               "C:\\A.DLL=C:\\A.NEW\r\n";
    WriteWholeFile(ini, others);
    ImportPatch asks("kernel32.dll", "GetShortPathNameA", (void *)CountShortPathName);
    ASSERT_TRUE(asks.Applied());
    RealGetShortPathName = asks.Original();
    std::string lines = "[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=20\n[Disk1]\n";
    for (int i = 1; i <= 20; i++)
        lines += std::to_string(i) + "=README.TXT,R" + std::to_string(i) + ".TXT,Copy,RootDir\n";
    ShortFormAsks = 0;
    EXPECT_EQ(PAGE_NEXT, Install(lines));
    EXPECT_EQ(Original("README.TXT"), ReadWholeFile(dest_ + "\\DISK\\R20.TXT"));
    EXPECT_GE(2 * 20 + 2 * 3, ShortFormAsks) << "for 20 files and 3 lines";
    EXPECT_EQ(others, ReadWholeFile(ini)) << "nothing of theirs is touched";
}

TEST(CopyDrawing, SunkenBoxBrushCodes)
{
    ResetSetupState();
    SetupState.ScreenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
    SetupState.ScreenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
    CopyPageClass pageClass;
    HWND page = CreateDialogParamA(GetModuleHandleA(0), MAKEINTRESOURCEA(IDD_COPY), 0, 0, 0);
    ASSERT_TRUE(page);
    UpdateWindow(page);
    HDC dc = GetDC(page);
    RECT r = {168, 112, 168 + 247, 112 + 20};   // control 1011, worked out above
    const struct { WORD code; COLORREF inside; } cases[] = {
        {100, RGB(0, 255, 0)}, {101, RGB(255, 255, 0)}, {102, RGB(255, 0, 0)},
        {103, RGB(0, 128, 0)}, {104, RGB(128, 128, 0)}, {105, RGB(128, 0, 0)},
        {106, RGB(0, 128, 128)}, {WHITE_BRUSH, RGB(255, 255, 255)},
        {BLACK_BRUSH, RGB(0, 0, 0)}, {(WORD)0x10000 + 100 /* 16 bits */, RGB(0, 255, 0)},
    };
    for (auto &c : cases) {
        DrawSunkenBox(page, dc, IDC_PROGRESS, c.code);
        EXPECT_EQ(c.inside, GetPixel(dc, (r.left + r.right) / 2, (r.top + r.bottom) / 2)) << c.code;
        EXPECT_EQ(RGB(128, 128, 128), GetPixel(dc, r.left - 1, r.top + 3)) << "grey outer left edge";
        EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, r.left, r.top + 3)) << "white inner left edge";
        EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, r.right - 1, r.top + 3)) << "white outer right edge";
        EXPECT_EQ(RGB(128, 128, 128), GetPixel(dc, r.right - 2, r.top + 3)) << "grey inner right edge";
    }
    // MapItemRect gives the control's client area in the page's coordinates.
    RECT mapped;
    MapItemRect(page, IDC_PROGRESS, &mapped);
    EXPECT_TRUE(EqualRect(&r, &mapped)) << mapped.left << "," << mapped.top << " - "
                                        << mapped.right << "," << mapped.bottom;
    ReleaseDC(page, dc);
    DestroyWindow(page);

    // A page that a Cancel has already closed maps to an empty rectangle.
    RECT gone = {1, 2, 300, 400};
    MapItemRect(page, IDC_PROGRESS, &gone);
    EXPECT_TRUE(IsRectEmpty(&gone)) << gone.left << "," << gone.top << "," << gone.right;
}

// Changes of the percentage's text, its paints and fills of the blue bar, counted as the
// page makes them.
int PercentSets, StatusSets, BlueFills, PercentPaints;
std::string PercentPainted;   // the text at the last paint
void *RealSetWindowText, *RealFillRect, *RealUpdateWindow;
BOOL WINAPI CountUpdateWindow(HWND window)
{
    if (GetDlgCtrlID(window) == IDC_PERCENT) {
        PercentPaints++;
        PercentPainted = ItemText(GetParent(window), IDC_PERCENT);
    }
    return ((BOOL(WINAPI *)(HWND))RealUpdateWindow)(window);
}
BOOL WINAPI CountSetWindowText(HWND item, LPCSTR text)
{
    PercentSets += GetDlgCtrlID(item) == IDC_PERCENT;
    StatusSets += GetDlgCtrlID(item) == IDC_STATUS;
    return ((BOOL(WINAPI *)(HWND, LPCSTR))RealSetWindowText)(item, text);
}
int WINAPI CountFillRect(HDC dc, const RECT *r, HBRUSH brush)
{
    LOGBRUSH lb = {};
    BlueFills += GetObjectA(brush, sizeof lb, &lb) && lb.lbColor == RGB(0, 0, 255);
    return ((int(WINAPI *)(HDC, const RECT *, HBRUSH))RealFillRect)(dc, r, brush);
}

TEST_F(Copy, ALongDiskShowsEveryStepAndDrawsEachOnce)
{
    // 250 entries: the percentage and the bar stay the same over two or three entries.
    ImportPatch text("user32.dll", "SetWindowTextA", (void *)CountSetWindowText);
    ImportPatch fill("user32.dll", "FillRect", (void *)CountFillRect);
    ImportPatch paint("user32.dll", "UpdateWindow", (void *)CountUpdateWindow);
    ASSERT_TRUE(text.Applied() && fill.Applied() && paint.Applied());
    RealSetWindowText = text.Original();
    RealFillRect = fill.Original();
    RealUpdateWindow = paint.Original();
    PercentSets = StatusSets = BlueFills = PercentPaints = 0;
    PercentPainted.clear();
    std::string paintedAtLastCreate;
    OnOpen = [&](const LzOpen &o) {
        if (o.mode == OF_CREATE)
            paintedAtLastCreate = PercentPainted;
    };
    std::string lines = "[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=250\n[Disk1]\n";
    for (int i = 1; i <= 250; i++)   // each with a status text of its own
        lines += std::to_string(i) + "=README.TXT,R" + std::to_string(i) + ".TXT,Copy " +
                 std::to_string(i) + ",RootDir\n";
    EXPECT_EQ(PAGE_NEXT, Install(lines));
    std::vector<LzOpen> creates = OpensFor(OF_CREATE);
    ASSERT_EQ(250u, creates.size());
    std::set<int> percents, widths;
    for (int i = 0; i < 250; i++) {
        int percent = (i * 100 + 100) / 250;
        EXPECT_EQ(std::to_string(percent) + "%", creates[i].percent) << "entry " << i;
        EXPECT_EQ(FullBar * percent / 100, creates[i].barWidth) << "entry " << i;
        percents.insert(percent);
        widths.insert(creates[i].barWidth);
    }
    // once per value, but not the value the control shows from the start
    std::string before = OpensFor(OF_READ)[0].percent;
    EXPECT_EQ((int)percents.size() - (int)percents.count(atoi(before.c_str())), PercentSets)
        << "the text is set once per value; shown at first: " << before;
    EXPECT_EQ((int)widths.size(), BlueFills) << "the bar is filled once per width";
    // the status text: the first file's, then at most one every 50 ms, then the
    // registration's
    EXPECT_EQ("Copying README.TXT\n\nCopy 1", creates[0].status);
    EXPECT_GE(2 + (int)elapsed_ / 50, StatusSets) << "in " << elapsed_ << " ms";
    // the percentage is set for every step but painted with the status text, and at the end
    EXPECT_GE(2 + (int)elapsed_ / 50, PercentPaints) << "in " << elapsed_ << " ms";
    EXPECT_EQ("100%", paintedAtLastCreate) << "painted before the last file is copied";
}

// A question paints the percentage the page holds, also one set since the last paint.
TEST_F(Copy, AQuestionPaintsThePercentageFirst)
{
    ImportPatch paint("user32.dll", "UpdateWindow", (void *)CountUpdateWindow);
    ASSERT_TRUE(paint.Applied());
    RealUpdateWindow = paint.Original();
    PercentPainted.clear();
    std::string missing = ProgramDir() + "\\DISK\\LATER.TXT", held, painted;
    MessageBoxRecorder boxes;
    boxes.Answer([&](const MessageBoxCall &box) {
        held = ItemText(box.owner, IDC_PERCENT);
        painted = PercentPainted;
        CopyFileA(MediaFile("disk\\README.TXT").c_str(), missing.c_str(), FALSE);
        return IDRETRY;
    });
    EXPECT_EQ(PAGE_NEXT, Install("[DiskLabel]\nDisk1=One\n[FileCounts]\nDisk1=4\n[Disk1]\n"
                                 "1=README.TXT,R1.TXT,One,RootDir\n2=README.TXT,R2.TXT,Two,RootDir\n"
                                 "3=LATER.TXT,R3.TXT,Later,RootDir\n4=README.TXT,R4.TXT,Four,RootDir\n"));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ("75%", held) << "the share once the entry asked about is done";
    EXPECT_EQ(held, painted);
}

}  // namespace
