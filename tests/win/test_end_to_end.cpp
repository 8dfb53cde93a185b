// The real SETUP.EXE on the sample medium, driven from outside its process the way a
// user drives it: posted clicks, texts read from its windows, its message boxes
// answered; the results read from the files, the registry and system.ini.
#include <gtest/gtest.h>
#include <algorithm>
#include "testlib.h"
#include "resource.h"
#include "controller/controller.h"

namespace {

const char Dest[] = "C:\\ORVEL";
const char BlankDest[] = "C:\\Program Files\\Tallis";
const char Patched[] = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\n"
                       "mouse=*vmouse\r\n";

class EndToEnd : public SampleMediumTest {
protected:
    EndToEnd() : SampleMediumTest("C:\\t\\e2e", {BlankDest}) {}
    SetupRun Run(const char *args, std::vector<ExternalStep> steps, DWORD timeoutMs = 30000)
    {
        return RunSetupExe(medium_, "SETUP.EXE", args, std::move(steps), timeoutMs);
    }
    void ExpectInstalledIn(const std::string &dest)
    {
        const char *files[][2] = {{"KXMAIN.EXE", "\\KXMAIN.EXE"}, {"KXPAGE.DLL", "\\KXPAGE.DLL"},
                                  {"UNINSTAL.EXE", "\\UNINSTAL.EXE"}, {"README.TXT", "\\README.TXT"},
                                  {"HELP\\KXMOUSE.HLP", "\\HELP\\KXMOUSE.HLP"},
                                  {"TOOLS\\KXTUNE.EXE", "\\TOOLS\\KXTUNE.EXE"},
                                  {"SCHEMES\\ORVEL.SCM", "\\SCHEMES\\ORVEL.SCM"},
                                  {"DOCS\\MANUAL.TXT", "\\DOCS\\MANUAL.TXT"},
                                  {"LANG\\ENGLISH.LNG", "\\LANG\\ENGLISH.LNG"},
                                  {"DRIVERS\\KXMOUSE.DRV", "\\DRIVERS\\KXMOUSE.DRV"}};
        for (auto &f : files) {
            std::string installed = ReadWholeFile(dest + f[1]);
            EXPECT_FALSE(installed.empty()) << dest << f[1];
            EXPECT_EQ(Sample(f[0]), installed) << dest << f[1] << " expanded as the original";
        }
        EXPECT_EQ(Sample("SYSTEM\\KXMOUSE.VXD"), ReadWholeFile(WindowsDirectory() + "\\SYSTEM\\KXMOUSE.VXD"));
        EXPECT_EQ(Sample("INF\\KXMOUSE.INF"), ReadWholeFile(WindowsDirectory() + "\\INF\\KXMOUSE.INF"));
        EXPECT_EQ(Sample("WINDOWS\\KXMOUSE.INI"), ReadWholeFile(WindowsDirectory() + "\\KXMOUSE.INI"));
        EXPECT_EQ(dest + "\\KXMAIN.EXE -startup",
                  GetRegText(HKEY_LOCAL_MACHINE, RunKey,
                             "ZennoMouse"));
        EXPECT_EQ(dest + "\\KXPAGE.DLL",
                  GetRegText(HKEY_CLASSES_ROOT,
                             std::string(ClsidKey) + "\\InProcServer32", ""));
        EXPECT_EQ("Orvel Wheel Mouse",
                  GetRegText(HKEY_LOCAL_MACHINE,
                             UninstallKey,
                             "DisplayName"));
        EXPECT_EQ("Mouse\\0000", GetRegText(HKEY_LOCAL_MACHINE, OwnNodeKey, "Driver"));
        EXPECT_EQ("kxmouse.drv", GetRegText(HKEY_LOCAL_MACHINE,
                                            "System\\CurrentControlSet\\Services\\Class\\Mouse\\0000",
                                            "MouseDriver"));
        EXPECT_EQ(Patched, ReadWholeFile(WindowsDirectory() + "\\system.ini"));
        EXPECT_EQ(Win98Ini, ReadWholeFile(WindowsDirectory() + "\\system.bak"));
        EXPECT_EQ("stock VMOUSE.VXD", ReadWholeFile(SystemDirectory() + "\\VMM32\\VMOUSE.BAK"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES,
                  GetFileAttributesA((SystemDirectory() + "\\VMM32\\VMOUSE.VXD").c_str()));
    }
    void ExpectNothingInstalled()
    {
        EXPECT_EQ(Win98Ini, ReadWholeFile(WindowsDirectory() + "\\system.ini")) << "not patched";
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((WindowsDirectory() + "\\system.bak").c_str()));
        EXPECT_EQ("stock VMOUSE.VXD", ReadWholeFile(SystemDirectory() + "\\VMM32\\VMOUSE.VXD"));
    }

    // How many lines are line, or begin with it when it ends in a blank.
    static size_t Count(const std::vector<std::string> &lines, const std::string &line)
    {
        size_t n = 0;
        for (const std::string &l : lines)
            n += line.back() == ' ' ? l.compare(0, line.size(), line) == 0 : l == line;
        return n;
    }

    // Replaces the first occurrence of from in the medium's SETUP.INF.
    void EditScript(const std::string &from, const std::string &to)
    {
        std::string inf = ReadWholeFile(medium_ + "\\SETUP.INF");
        size_t at = inf.find(from);
        ASSERT_NE(std::string::npos, at) << from;
        WriteWholeFile(medium_ + "\\SETUP.INF", inf.replace(at, from.size(), to));
    }
};

// The running mouse application: a window of the test titled ZennoMouse, which notes
// whether the copy had begun when it was asked to close.
int CloseRequests;
bool CopiedBeforeClose;
LRESULT CALLBACK MouseApp(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CLOSE) {
        CloseRequests++;
        CopiedBeforeClose = GetFileAttributesA("C:\\ORVEL\\KXMAIN.EXE") != INVALID_FILE_ATTRIBUTES;
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(EndToEnd, FullInstallThenASecondRunRefuses)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MouseApp;
    wc.lpszClassName = "E2EMouseApp";
    RegisterClassA(&wc);
    HWND app = 0;
    CloseRequests = 0;
    std::string finishText;
    SetupRun run = Run("", {
        Press("SETUP_BEGIN", IDC_NEXT),
        {"SETUP_SELMOUSE", [](HWND page) {
            PostClick(page, IDC_PS2);
            PostClick(page, IDC_NEXT);
        }},
        {"SETUP_SELDIR", [&](HWND page) {
            EXPECT_EQ(Dest, ItemText(page, IDC_DIRTEXT));
            // the mouse application starts after the checks of the start
            app = CreateWindowExA(0, "E2EMouseApp", "ZennoMouse", WS_POPUP, 0, 0, 5, 5, 0, 0, 0, 0);
            PostClick(page, IDC_NEXT);
        }},
        {"SETUP_END", [&](HWND page) {
            finishText = ItemText(page, IDC_HEADLINE);
            PostClick(page, IDC_REBOOTLATER);
            PostClick(page, IDC_NEXT);
        }},
    });
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ("You have installed Orvel Successfully !", finishText);
    EXPECT_EQ(1, CloseRequests) << "the running application was asked to close";
    EXPECT_FALSE(CopiedBeforeClose) << "before the copy started";
    DestroyWindow(app);
    ExpectInstalledIn(Dest);
    EXPECT_EQ(0, session_.RestartsSettled()) << "restart later";

    SetupRun second = Run("", {});
    ASSERT_EQ(1u, second.boxes.size());
    EXPECT_EQ(OtherMouseText, second.boxes[0].text);
    EXPECT_EQ("Warning", second.boxes[0].caption);
}

TEST_F(EndToEnd, BackAndForthBrowseAnotherDestinationAndRestart)
{
    SetupRun run = Run("", {
        Press("SETUP_BEGIN", IDC_NEXT), Press("SETUP_SELMOUSE", IDC_NEXT),
        Press("SETUP_SELDIR", IDC_BACK), Press("SETUP_SELMOUSE", IDC_BACK),
        Press("SETUP_BEGIN", IDC_NEXT), Press("SETUP_SELMOUSE", IDC_NEXT),
        Press("SETUP_SELDIR", IDC_BROWSE),
        {"#32770", [](HWND browser) {
            EXPECT_EQ("12345678.ABC", ItemText(browser, 1152)) << "the hidden name field";
            SetDlgItemTextA(browser, 1003, "C:\\t\\e2e\\Other");
            PostClick(browser, IDOK);
        }},
        {"SETUP_SELDIR", [](HWND page) {
            for (int i = 0; i < 40 && ItemText(page, IDC_DIRTEXT) != "C:\\t\\e2e\\Other"; i++)
                Sleep(50);
            EXPECT_EQ("C:\\t\\e2e\\Other", ItemText(page, IDC_DIRTEXT));
            PostClick(page, IDC_NEXT);
        }, true},
        Press("SETUP_END", IDC_NEXT),   // "Yes, I want to restart my computer now."
    });
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty());
    ExpectInstalledIn("C:\\t\\e2e\\Other");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Dest));
    EXPECT_GE(session_.RestartsSettled(), 1) << "restart now";
}

TEST_F(EndToEnd, CancelOnEachPageBeforeTheCopy)
{
    const char *pages[] = {"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR"};
    for (int cancelAt = 0; cancelAt < 3; cancelAt++) {
        std::vector<ExternalStep> steps;
        for (int i = 0; i < cancelAt; i++)
            steps.push_back(Press(pages[i], IDC_NEXT));
        steps.push_back(Press(pages[cancelAt], IDC_CANCEL));
        SetupRun run = Run("", steps);
        EXPECT_EQ(0u, run.exitCode) << pages[cancelAt];
        ASSERT_EQ(1u, run.boxes.size()) << pages[cancelAt];
        EXPECT_EQ(AbortText, run.boxes[0].text);
        EXPECT_EQ("Orvel Setup Program", run.boxes[0].caption);
        ExpectNothingInstalled();
        EXPECT_EQ(0, IsMouseAppRegistered()) << pages[cancelAt];
    }
    EXPECT_EQ(0, session_.RestartsSettled());
}

TEST_F(EndToEnd, CancelDuringTheCopy)
{
    // A disk of 2000 small files: the copy would take seconds, while the click is
    // posted as soon as the copy page first takes messages, that is, once the copy
    // has begun; it cannot finish first.
    const int total = 2000;
    std::string lines;
    for (int i = 1; i <= total; i++)
        lines += std::to_string(i) + "=README.TXT,F" + std::to_string(i) + ".TXT,Copy " +
                 std::to_string(i) + ",SubDir1\r\n";
    WriteSetupInf("[Main]\r\nMinimumSpace=0\r\n[DirectoryName]\r\nRootDir=.\r\nSubDir1=MANY\r\n"
                  "[DiskLabel]\r\nDisk1=One\r\n[FileCounts]\r\nDisk1=" + std::to_string(total) +
                  "\r\n[Disk1]\r\n" + lines + "[Startup]\r\nTitle=Orvel Wheel Mouse\r\n", medium_);
    CreateDirectoryA((medium_ + "\\MANY").c_str(), 0);
    CopyFileA((medium_ + "\\README.TXT").c_str(), (medium_ + "\\MANY\\README.TXT").c_str(), FALSE);
    SetupRun run = Run("", {
        Press("SETUP_BEGIN", IDC_NEXT), Press("SETUP_SELMOUSE", IDC_NEXT),
        Press("SETUP_SELDIR", IDC_NEXT), Press("SETUP_INSTALL", IDC_NEXT),   // its Cancel
    });
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(AbortText, run.boxes[0].text);
    int copied = 0;
    for (int i = 1; i <= total; i++)
        copied += GetFileAttributesA((std::string(Dest) + "\\MANY\\F" + std::to_string(i) + ".TXT").c_str()) !=
                  INVALID_FILE_ATTRIBUTES;
    EXPECT_GT(copied, 0);
    EXPECT_LT(copied, total) << "the copy stopped";
    std::cout << "cancelled after " << copied << " of " << total << " files\n";
    EXPECT_EQ(0, IsMouseAppRegistered()) << "no uninstaller in the destination: nothing registered";
    EXPECT_EQ("<no key>", GetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"));
    ExpectNothingInstalled();
    EXPECT_EQ(0, session_.RestartsSettled()) << "no finish page, no restart";
}

// SETUP.EXE -s that cannot install: its exit code tells why, and no window comes.
TEST_F(EndToEnd, UnattendedRunsThatCannotInstallEndWithTheirCodeAndNoWindow)
{
    struct Case {
        std::string args;
        DWORD code;
        const char *why;
        std::string failed;   // with -l: the start of its FAILED line
    } cases[] = {
        {"-s -ps2 -mouse", 3, "an unknown option"},
        {"-s -ps2 -serial", 3, "both mouse types"},
        {"-s -r -d", 3, "-d without its path"},
        {"-s -d \"C:\\ORVEL", 3, "a quote not closed"},
        {"-s -d ORVEL -l C:\\t\\e2e\\r.txt", 3, "a destination without a drive",
         "FAILED Can not create directory ! The specified directory is either invalid"},
        {"-s -d C:\\" + std::string(77, 'L'), 3, "a destination of 80 characters"},
        {"-s -l C:\\t\\no\\such\\report.txt", 3, "a report that cannot be opened"},
        {"-s -l", 3, "-l without its path"},
        {"-s -l C:\\t\\e2e\\r.txt", 4, "a setup script held by another program",
         "FAILED SETUP.INF Reading error ! " + medium_ + "\\SETUP.INF (error 32)"},
        {"-s -l C:\\t\\e2e\\noscript.txt", 4, "no setup script at all: never the defaults"},
    };
    for (const Case &c : cases) {
        bool noScript = c.args.find("noscript") != std::string::npos;
        if (noScript)
            MoveFileA((medium_ + "\\SETUP.INF").c_str(), (medium_ + "\\SETUP.IN_").c_str());
        HANDLE held = c.code != 4 || noScript
                          ? INVALID_HANDLE_VALUE
                          : CreateFileA((medium_ + "\\SETUP.INF").c_str(), GENERIC_READ, 0, 0,
                                        OPEN_EXISTING, 0, 0);
        SetupRun run = RunSetupExe(medium_, "SETUP.EXE", c.args.c_str(), {}, 30000);
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        if (!c.failed.empty()) {
            std::vector<std::string> report = ReportLines("C:\\t\\e2e\\r.txt");
            DeleteFileA("C:\\t\\e2e\\r.txt");
            ASSERT_EQ(3u, report.size()) << c.why;
            EXPECT_EQ(0u, report[1].find(c.failed)) << report[1];
            EXPECT_EQ("EXIT " + std::to_string(c.code), report[2]);
        }
        if (noScript) {
            MoveFileA((medium_ + "\\SETUP.IN_").c_str(), (medium_ + "\\SETUP.INF").c_str());
            std::vector<std::string> report = ReportLines("C:\\t\\e2e\\noscript.txt");
            ASSERT_EQ(3u, report.size());
            EXPECT_EQ("FAILED SETUP.INF Reading error ! " + medium_ + "\\SETUP.INF (error 2)", report[1]);
            EXPECT_EQ("EXIT 4", report[2]);
        }
        EXPECT_EQ(c.code, run.exitCode) << c.why;
        EXPECT_TRUE(run.boxes.empty() && run.windows.empty()) << c.why << ": a window came";
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Dest)) << c.why;
        ExpectNothingInstalled();
    }
}

// A file that cannot be copied ends the unattended run as the wizard's Cancel at that
// file does: the same files and registry, no system.ini patch, exit code 2.
TEST_F(EndToEnd, UnattendedCopyFailureEndsAsTheWizardsCancel)
{
    ASSERT_TRUE(DeleteFileA((medium_ + "\\HELP\\KXMOUSE.HL_").c_str()));
    SetupRun silent = RunSetupExe(medium_, "SETUP.EXE", "-s -r -l \"C:\\t\\e2e report.txt\"", {}, 30000);
    EXPECT_EQ(2u, silent.exitCode);
    // The report says which file, what the wizard would have asked, and how it ended.
    std::vector<std::string> report = ReportLines("C:\\t\\e2e report.txt");
    DeleteFileA("C:\\t\\e2e report.txt");
    ASSERT_GE(report.size(), 4u);
    std::string missing = medium_ + "\\HELP\\KXMOUSE.HL_";
    EXPECT_EQ(1u, Count(report, "ASKED Please insert 'Orvel Wheel Mouse Disk 2' into your disk "
                                "drive ! " + missing + " -> Cancel"));
    EXPECT_EQ(1u, Count(report, "FAILED Please insert 'Orvel Wheel Mouse Disk 2' into your disk "
                                "drive ! " + missing + " (error 2)"));
    EXPECT_EQ(1u, Count(report, "FILE " + std::string(Dest) + "\\UNINSTAL.EXE")) << "disk 1 was copied";
    EXPECT_EQ(0u, Count(report, "FILE " + std::string(Dest) + "\\HELP\\KXMOUSE.HLP"));
    EXPECT_EQ(0u, Count(report, "INI ")) << "no system.ini patch";
    EXPECT_EQ("EXIT 2", report.back());
    EXPECT_TRUE(silent.boxes.empty() && silent.windows.empty()) << "a window came";
    EXPECT_EQ(0, session_.RestartsSettled()) << "no restart after a failure";
    ExpectNothingInstalled();
    std::string unattended = Registry() + Files(Dest);
    EXPECT_NE(std::string::npos, unattended.find("UNINSTAL.EXE")) << "disk 1 was copied";
    RemoveInstalled();

    SetupRun wizard = RunSetupExe(medium_, "SETUP.EXE", "", WizardSteps(nullptr, false), 30000,
                                  [](const MessageBoxCall &) { return IDCANCEL; });
    EXPECT_EQ(2u, wizard.boxes.size()) << "the disk asked for, then the abort notice";
    EXPECT_EQ(Registry() + Files(Dest), unattended);
}

// A file whose copy on the medium no longer matches the script's checksum (one byte
// changed, the size as it was) is not installed: the unattended run ends at it with
// its own FAILED text, and the older file stays.
TEST_F(EndToEnd, UnattendedRunKeepsTheOlderFileWhereTheMediumsDiffersFromItsChecksum)
{
    std::string readme = ReadWholeFile(medium_ + "\\README.TXT");
    ASSERT_LT(10u, readme.size());
    readme[10] ^= 0x20;
    WriteWholeFile(medium_ + "\\README.TXT", readme);
    CreateDirectoryA(Dest, 0);
    WriteWholeFile(std::string(Dest) + "\\README.TXT", "an older read-me");
    SetupRun silent = RunSetupExe(medium_, "SETUP.EXE", "-s -l C:\\t\\sum.txt", {}, 30000);
    EXPECT_EQ(2u, silent.exitCode);
    std::vector<std::string> report = ReportLines("C:\\t\\sum.txt");
    DeleteFileA("C:\\t\\sum.txt");
    EXPECT_EQ(1u, Count(report, "FAILED Can not install the file " + std::string(Dest) +
                                "\\README.TXT ! Its copy on the installation disk does not "
                                "match its checksum: it is damaged. (error 23)"));
    EXPECT_EQ("an older read-me", ReadWholeFile(std::string(Dest) + "\\README.TXT"));
    EXPECT_EQ(1u, Count(report, "FILE " + std::string(Dest) + "\\KXPAGE.DLL")) << "the files before it";
}

// A script's directory that would lead out of the destination is never made: the
// unattended run ends as after the wizard's Cancel at its question, and says which.
TEST_F(EndToEnd, AScriptDirectoryLeadingOutOfTheDestinationIsNeverMade)
{
    EditScript("SubDir5=LANG", "SubDir5=..\\OUTSIDE");
    SetupRun run = RunSetupExe(medium_, "SETUP.EXE", "-s -l C:\\t\\e2e\\r.txt", {}, 30000);
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\OUTSIDE"));
    std::vector<std::string> report = ReportLines("C:\\t\\e2e\\r.txt");
    EXPECT_EQ(1, std::count(report.begin(), report.end(),
                            "FAILED Can not create the directory " + std::string(Dest) +
                                "\\..\\OUTSIDE ! The disk may be write protected or full. (error 161)"));
    EXPECT_EQ("EXIT 2", report.back());
    ExpectNothingInstalled();
}

TEST_F(EndToEnd, DriverOnlyModeTwiceKeepsTheFirstPriorValues)
{
    const char *node = "Enum\\BIOS\\*PNP0F13\\0000";
    LiveDevice live("C29A0E2E", "BIOS\\*PNP0F13\\0000");
    SetRegText(HKEY_LOCAL_MACHINE, node, "DeviceDesc", "Standard PS/2 Port Mouse");
    std::vector<ExternalStep> ps2 = {{"SETUP_SELMOUSE", [](HWND page) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
        PostClick(page, IDC_PS2);
        PostClick(page, IDC_NEXT);
    }}};
    for (int pass = 0; pass < 2; pass++) {
        SetupRun run = Run("-u", ps2);
        ASSERT_EQ(1u, run.boxes.size());
        EXPECT_EQ(DriverDoneText, run.boxes[0].text);
        EXPECT_GE(session_.RestartsSettled(), 1) << "pass " << pass;
        session_.Reset();
        EXPECT_EQ("Orvel Wheel Mouse (PS/2)", GetRegText(HKEY_LOCAL_MACHINE, node, "DeviceDesc"));
        SetRegText(HKEY_LOCAL_MACHINE, node, "DeviceDesc", "Changed in between");
    }
    std::string inf = medium_ + "\\SETUP.INF";
    char value[256];
    GetPrivateProfileStringA("PS2", "DeviceDesc", "", value, sizeof value, inf.c_str());
    EXPECT_STREQ("Standard PS/2 Port Mouse", value) << "the first run's prior value is kept";
    GetPrivateProfileStringA("PS2", "SubKey1", "", value, sizeof value, inf.c_str());
    EXPECT_STREQ("Enum\\BIOS\\*PNP0F13\\0000", value);
    EXPECT_EQ(0, IsMouseAppRegistered()) << "no product entries in this mode";
}

// An uninstall entry anyone may have written, of 258 characters, naming an installation
// in a directory longer than any destination: the driver-only mode refuses it as a
// directory it cannot make, and nothing is registered or recorded.
TEST_F(EndToEnd, DriverOnlyModeRefusesAnUninstallEntryNamingALongDirectory)
{
    std::string dir = "C:\\t\\e2e\\" + std::string(236, 'd');
    ASSERT_EQ(245u, dir.size());
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
    WriteWholeFile(dir + "\\UNINSTAL.EXE", "an uninstaller");
    WriteWholeFile(dir + "\\SETUP.INF", "[Main]\r\n");
    SetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", dir + "\\UNINSTAL.EXE");
    std::string registry = Registry();
    SetupRun run = Run("-u", {{"SETUP_SELMOUSE", [](HWND page) {
        PostClick(page, IDC_PS2);
        PostClick(page, IDC_NEXT);
    }}});
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(CannotCreateText, run.boxes[0].text);
    EXPECT_EQ(0, session_.RestartsSettled()) << "no restart for a driver not bound";
    EXPECT_EQ(registry, Registry()) << "nothing registered";
    EXPECT_EQ("[Main]\r\n", ReadWholeFile(dir + "\\SETUP.INF")) << "nothing recorded there";
    EXPECT_EQ(ReadWholeFile(medium_ + "\\SETUP.INF").find("[PS2]"), std::string::npos)
        << "nor beside the program";
    RemoveTree(dir);
}

// Nothing of the package is copied into the installed directory: one too long for the
// medium's files (a directory of 79 characters, a subdirectory of 39) still takes the
// driver and the record of what it replaces.
TEST_F(EndToEnd, DriverOnlyModeTakesAnInstalledDirectoryTooLongForThisPackagesFiles)
{
    std::string dir = "C:\\t\\e2e\\" + std::string(70, 'd');
    LiveDevice live("C29A0E2E", "BIOS\\*PNP0F13\\0000");
    SetRegText(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0F13\\0000", "DeviceDesc", "Standard PS/2 Port Mouse");
    EditScript("SubDir1=HELP", "SubDir1=HELP" + std::string(35, 'x'));
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
    WriteWholeFile(dir + "\\UNINSTAL.EXE", "an uninstaller");
    WriteWholeFile(dir + "\\SETUP.INF", "[Main]\r\n");
    SetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", dir + "\\UNINSTAL.EXE");
    SetupRun run = Run("-u", {{"SETUP_SELMOUSE", [](HWND page) {
        PostClick(page, IDC_PS2);
        PostClick(page, IDC_NEXT);
    }}});
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(DriverDoneText, run.boxes[0].text);
    EXPECT_NE(std::string::npos, ReadWholeFile(dir + "\\SETUP.INF").find("[PS2]"))
        << "the values it replaces recorded there";
    RemoveTree(dir);
}

TEST_F(EndToEnd, A386EnhSectionWithoutAMouseLineGetsOneAsItsLastLine)
{
    std::string ini = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\n"
                      "[boot.description]\r\nmouse.drv=Standard mouse\r\n";
    WriteWholeFile(WindowsDirectory() + "\\system.ini", ini);
    SetupRun run = Install();
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ("[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\nmouse=*vmouse\r\n"
              "[boot.description]\r\nmouse.drv=Standard mouse\r\n",
              ReadWholeFile(WindowsDirectory() + "\\system.ini"));
    EXPECT_EQ(ini, ReadWholeFile(WindowsDirectory() + "\\system.bak"));
}

TEST_F(EndToEnd, ADestinationWithABlankIsQuotedInTheCommands)
{
    SetupRun run = Install(BlankDest);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ("\"C:\\Program Files\\Tallis\\KXMAIN.EXE\" -startup",
              GetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse"));
    EXPECT_EQ("\"C:\\Program Files\\Tallis\\UNINSTAL.EXE\"",
              GetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"));
    EXPECT_EQ("C:\\Program Files\\Tallis\\KXPAGE.DLL",
              GetRegText(HKEY_CLASSES_ROOT, std::string(ClsidKey) + "\\InProcServer32", ""))
        << "a path, not a command: no quotes";
    EXPECT_EQ(Sample("KXMAIN.EXE"), ReadWholeFile(std::string(BlankDest) + "\\KXMAIN.EXE"));

    SetupRun second = Run("", {});
    ASSERT_EQ(1u, second.boxes.size()) << "the quoted start-up value still names KXMAIN.EXE";
    EXPECT_EQ(OtherMouseText, second.boxes[0].text);
}

TEST_F(EndToEnd, ALongSubDirIsCreatedUnderTheNameItsFilesUse)
{
    // A directory is kept in 39 characters: the files, read from and written to that
    // cut name, land in the directory the copy page made.
    std::string full = "HELP" + std::string(41, 'x'), kept = full.substr(0, 39);
    EditScript("SubDir1=HELP", "SubDir1=" + full);
    CopyTree(medium_ + "\\HELP", medium_ + "\\" + kept);
    SetupRun run = Install();
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(Sample("HELP\\KXMOUSE.HLP"), ReadWholeFile(std::string(Dest) + "\\" + kept + "\\KXMOUSE.HLP"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(Dest) + "\\" + full).c_str()))
        << "no directory under the full name";
    RemoveTree(medium_ + "\\" + kept);
}

}  // namespace

namespace {

// A file of disk 2 missing from the medium: setup asks for the disk by its label and
// shows the path. Cancel ends the run as the page's Cancel does; Retry once the file is
// back installs it, and setup finishes.
TEST_F(EndToEnd, AMissingFileAsksForItsDisk)
{
    std::string missing = medium_ + "\\HELP\\KXMOUSE.HL_", content = ReadWholeFile(missing);
    ASSERT_FALSE(content.empty());
    ASSERT_TRUE(DeleteFileA(missing.c_str()));
    std::string prompt = "Please insert 'Orvel Wheel Mouse Disk 2' into your disk drive !\n\n" + missing;
    SetupRun cancelled = RunSetupExe(medium_, "SETUP.EXE", "", WizardSteps(nullptr, false), 30000,
                                     [](const MessageBoxCall &) { return IDCANCEL; });
    EXPECT_EQ(0u, cancelled.exitCode);
    ASSERT_EQ(2u, cancelled.boxes.size());
    EXPECT_EQ(prompt, cancelled.boxes[0].text);
    EXPECT_EQ("Orvel Setup Program", cancelled.boxes[0].caption);
    EXPECT_EQ((UINT)MB_RETRYCANCEL, cancelled.boxes[0].style);
    EXPECT_EQ(AbortText, cancelled.boxes[1].text);
    ExpectNothingInstalled();
    EXPECT_EQ(0, session_.RestartsSettled()) << "no finish page";

    // a cancelled copy still registers, and the next run would refuse
    registry_.Restore();
    RemoveTree(Dest);
    SetupRun retried = Install(nullptr, [&](const MessageBoxCall &) {
        WriteWholeFile(missing, content);
        return IDRETRY;
    });
    EXPECT_EQ(0u, retried.exitCode);
    ASSERT_EQ(1u, retried.boxes.size());
    EXPECT_EQ(prompt, retried.boxes[0].text);
    ExpectInstalledIn(Dest);
}

// The second disk asked for, and Retry pressed while the drive is still empty: setup's
// own question comes again, and no box of the system's before it.
TEST_F(EndToEnd, ADriveWithoutItsDiskGetsOnlySetupsQuestion)
{
    const std::string floppy = "A:\\MEDIUM", missing = floppy + "\\HELP\\KXMOUSE.HL_";
    RemoveTree(floppy);
    CopyTree(medium_, floppy);
    std::string content = ReadWholeFile(missing);
    ASSERT_FALSE(content.empty()) << "the rig's drive A:";
    ASSERT_TRUE(DeleteFileA(missing.c_str()));
    TakeWin98Log();
    int asked = 0;
    SetupRun run = RunSetupExe(floppy, "SETUP.EXE", "", WizardSteps(), 30000, [&](const MessageBoxCall &) {
        if (++asked == 1) {   // the first disk taken out: no disk in the drive
            SetFloppyNotReady(true);
        } else {              // the second one in
            WriteWholeFile(missing, content);
            SetFloppyNotReady(false);
        }
        return IDRETRY;
    });
    SetFloppyNotReady(false);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(2u, run.boxes.size());
    for (const MessageBoxCall &box : run.boxes)
        EXPECT_EQ("Please insert 'Orvel Wheel Mouse Disk 2' into your disk drive !\n\n" + missing, box.text);
    EXPECT_EQ("", TakeWin98Log()) << "the system's own box";
    ExpectInstalledIn(Dest);
    RemoveTree(floppy);
}

// A file the user holds open in another program is not asked about: the new one is
// put in place by WININIT.INI at the next start of Windows (wineboot -r under Wine).
TEST_F(EndToEnd, AFileInUseIsReplacedAtTheNextStart)
{
    CreateDirectoryA(Dest, 0);
    std::string readme = std::string(Dest) + "\\README.TXT";
    WriteWholeFile(readme, "an older read-me, open in an editor");
    HANDLE held = CreateFileA(readme.c_str(), GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    SetupRun run = Install();
    CloseHandle(held);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(1u, run.boxes.size()) << "only the question about the existing directory";
    EXPECT_EQ(DirExistsText, run.boxes[0].text);
    EXPECT_EQ("an older read-me, open in an editor", ReadWholeFile(readme));
    std::string wininit = ReadWholeFile(WindowsDirectory() + "\\WININIT.INI");
    EXPECT_NE(std::string::npos, wininit.find("[rename]\r\nC:\\ORVEL\\README.TXT=C:\\ORVEL\\KX"))
        << wininit;

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    char restart[] = "wineboot.exe -r";
    ASSERT_TRUE(CreateProcessA(0, restart, 0, 0, FALSE, 0, 0, 0, &si, &pi));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(Sample("README.TXT"), ReadWholeFile(readme)) << "in place after the restart";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((WindowsDirectory() + "\\WININIT.INI").c_str()));
    EXPECT_EQ(0, CountMatching(std::string(Dest) + "\\*.TMP")) << "no temporary file left";
}

}  // namespace
