// UNINSTAL.EXE on installations the real SETUP.EXE made from the sample medium: round
// trips that must leave the machine as it was, and runs that must change nothing. Both
// programs run as built, driven from outside; the results are read from the registry,
// system.ini, VMM32 and the file tree.
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <functional>
#include "testlib.h"
#include "resource.h"
#include "controller/controller.h"

namespace {

const char *Dest = DefaultDest;
const std::string LongDest = "C:\\t\\Orvel Mouse";
const std::string Empty = "C:\\t\\uniempty";
const std::string Backup = "C:\\t\\unibackup";
const std::string ProgramFiles = "C:\\Program Files\\Orvel";
// 70 characters: the start-up command is then longer than 80 bytes.
const std::string Dest70 = LongDest + "\\" + std::string(70 - 17, 'L');
const char Caption[] = "Orvel Uninstall";
const char NothingText[] = "There is nothing of this package installed in this directory !";
const char QuestionText[] = "Orvel Wheel Mouse and its mouse driver will be removed from your "
                            "computer.\nDo you want to continue ?";
const char RemovedText[] = "Orvel Wheel Mouse has been removed from your computer.\nFiles still "
                           "in use are deleted when Windows starts again.\nDo you want to "
                           "restart your Windows now ?";
const char Ps2Node[] = "Enum\\BIOS\\*PNP0F13\\0000";


// The message boxes answered in turn with ids, the rest with OK.
BoxAnswer Answers(std::vector<int> ids)
{
    auto next = std::make_shared<size_t>(0);
    return [ids, next](const MessageBoxCall &) { return *next < ids.size() ? ids[(*next)++] : IDOK; };
}

std::string Class(const char *number)
{
    return std::string(ClassMouseKey) + "\\" + number;
}

// The running mouse application: a window of the test titled ZennoMouse that ends on
// WM_CLOSE, as the real one does.
int CloseRequests;
LRESULT CALLBACK MouseApp(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CLOSE) {
        CloseRequests++;
        DestroyWindow(w);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// Every file's last-write time below dir (and dir itself when it is a file) moved on
// by an hour, as the clock that reads FAT's local time sees them after a change of
// daylight saving time.
void MoveTimesAnHour(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        for (const DirEntry &e : ListDir(path + "\\*"))
            MoveTimesAnHour(path + "\\" + e.name);
        return;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    FILETIME t;
    if (file != INVALID_HANDLE_VALUE && GetFileTime(file, 0, 0, &t)) {
        ULARGE_INTEGER u = {{t.dwLowDateTime, t.dwHighDateTime}};
        u.QuadPart += 36000000000ULL;
        t = {u.LowPart, u.HighPart};
        SetFileTime(file, 0, 0, &t);
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

// The file rewritten with other text of its size, and its last-write time as it was.
void RewriteWithSizeAndTime(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    FILETIME t;
    GetFileTime(file, 0, 0, &t);
    std::string text(GetFileSize(file, 0), 'u');
    DWORD put;
    WriteFile(file, text.data(), (DWORD)text.size(), &put, 0);
    SetFileTime(file, 0, 0, &t);
    CloseHandle(file);
}

class Uninstall : public SampleMediumTest {
protected:
    Uninstall() : SampleMediumTest("C:\\t\\uni", {LongDest, Empty, Backup, ProgramFiles, "D:\\ORVEL"}) {}
    void SetUp() override
    {
        ASSERT_FALSE(BuiltUninstallExe().empty()) << "UNINSTAL_EXE is not set";
        SampleMediumTest::SetUp();
        DeleteFileA(Win("\\WININIT.INI").c_str());
        DeleteFileA(Win("\\wininit.bak").c_str());
        // What every Windows 98 machine has: another start-up program, the Mouse control
        // panel's list of page handlers, the root enumerator's key and the mouse class.
        SetRegText(HKEY_LOCAL_MACHINE, RunKey, "SystemTray", "SysTray.Exe");
        HKEY handlers;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, HandlersKey, 0, 0, 0,
                                                 KEY_ALL_ACCESS, 0, &handlers, 0));
        RegCloseKey(handlers);
        SetRegText(HKEY_LOCAL_MACHINE, "Enum\\Root\\*PNP0C01\\0000", "Class", "System");
        SetRegText(HKEY_LOCAL_MACHINE, ClassMouseKey, "", "Mouse");
    }
    void TearDown() override
    {
        while (HWND app = FindWindowA("UninstallMouseApp", 0))
            DestroyWindow(app);
        live_.reset();
        SampleMediumTest::TearDown();
        HKEY run;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "SystemTray");
            RegCloseKey(run);
        }
        // the handler list's parents, when setup made them and they are left empty
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(ControlsMouse) + "\\shellex").c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, ControlsMouse);
    }
    static std::string ShortPath(const std::string &path)
    {
        char s[MAX_PATH] = "";
        GetShortPathNameA(path.c_str(), s, sizeof s);
        return s;
    }

    // A PS/2 mouse Windows has detected: the live device and its node, bound to the
    // class key driver names (none when null).
    void AddLivePs2Node(const char *driver)
    {
        live_.reset(new LiveDevice("C29A0E2E", "BIOS\\*PNP0F13\\0000"));
        SetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "Class", "Mouse");
        SetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "DeviceDesc", "Standard PS/2 Port Mouse");
        SetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "Mfg", "(Standard mouse types)");
        if (driver)
            SetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "Driver", driver);
    }

    // A full installation from the sample medium into dest, PS/2 mouse, restart later.
    void InstallPs2(const std::string &dest)
    {
        std::vector<ExternalStep> steps = WizardSteps(dest.c_str());
        steps[1].act = [](HWND page) {
            PostClick(page, IDC_PS2);
            PostClick(page, IDC_NEXT);
        };
        ASSERT_EQ(0u, RunSetupExe(medium_, "SETUP.EXE", "", steps, 30000).exitCode);
        ASSERT_EQ(1, IsMouseAppRegistered()) << "installed";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dest + "\\UNINSTAL.EXE").c_str()));
    }
    // The uninstall entry's command, as the Add/Remove Programs list runs it, with args.
    SetupRun RunUninstallEntry(const char *args, std::vector<int> answers = {})
    {
        std::string command = GetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString");
        EXPECT_NE(std::string::npos, command.find("UNINSTAL.EXE")) << command;
        if (*args)
            command += std::string(" ") + args;
        // started elsewhere than its own directory, as the list does
        return RunProgram("", command, WindowsDirectory(), {}, 20000, Answers(std::move(answers)));
    }
    static std::vector<std::string> BoxTexts(const SetupRun &run)
    {
        std::vector<std::string> texts;
        for (const MessageBoxCall &box : run.boxes)
            texts.push_back(box.text);
        return texts;
    }
    // The uninstaller left behind by a removal, with its size.
    static std::string LeftUninstaller()
    {
        return "UNINSTAL.EXE " + std::to_string(ReadWholeFile(BuiltUninstallExe()).size()) + "\n";
    }
    // SETUP.EXE again: it gets to its welcome page (no refusal), where it is cancelled.
    void ExpectSetupRunsAgain()
    {
        SetupRun again = RunSetupExe(medium_, "SETUP.EXE", "", {Press("SETUP_BEGIN", IDC_CANCEL)});
        ASSERT_EQ(1u, again.boxes.size());
        EXPECT_EQ(AbortText, again.boxes[0].text) << "no refusal: the welcome page came";
    }

    // What an installation wrote, taken away by hand: the destination, the files in the
    // Windows directories, system.ini and the registry entries; the Windows directory's
    // copy of the log stays.
    void CleanAwayByHand()
    {
        RemoveTree(Dest);
        for (const char *f : {"\\SYSTEM\\KXMOUSE.VXD", "\\INF\\KXMOUSE.INF", "\\KXMOUSE.INI", "\\system.bak"})
            DeleteFileA(Win(f).c_str());
        WriteWholeFile(Win("\\system.ini"), Win98Ini);
        MoveFileA(VxdBak().c_str(), Vxd().c_str());
        DeleteRegTree(HKEY_LOCAL_MACHINE, UninstallKey);
        DeleteRegTree(HKEY_CLASSES_ROOT, ClsidKey);
        DeleteRegTree(HKEY_LOCAL_MACHINE, "Enum\\Root\\OrvelMouse");
        DeleteRegTree(HKEY_LOCAL_MACHINE, Class("0000"));
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "ZennoMouse");
            RegCloseKey(key);
        }
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, HandlersKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "");
            RegCloseKey(key);
        }
        DeleteRegTree(HKEY_LOCAL_MACHINE, std::string(HandlersKey) + "\\KXMousePage");
    }

    std::unique_ptr<LiveDevice> live_;
};

TEST_F(Uninstall, OwnNodeRoundTripWithTheQuestionsAndARestart)
{
    // Another program's file of the same name as one the package puts in Windows.
    const std::string otherIni = "another program's KXMOUSE.INI";
    WriteWholeFile(Win("\\KXMOUSE.INI"), otherIni);
    std::string registry = Registry(), files = Files(Dest);
    InstallPs2(Dest);
    ASSERT_NE(registry, Registry());
    ASSERT_EQ(Sample("WINDOWS\\KXMOUSE.INI"), ReadWholeFile(Win("\\KXMOUSE.INI")));

    SetupRun run = RunUninstallEntry("", {IDYES, IDYES});
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(2u, run.boxes.size());
    EXPECT_EQ(QuestionText, run.boxes[0].text);
    EXPECT_EQ(Caption, run.boxes[0].caption);
    EXPECT_EQ((UINT)MB_YESNO, run.boxes[0].style);
    EXPECT_EQ(RemovedText, run.boxes[1].text);
    EXPECT_EQ(Caption, run.boxes[1].caption);
    EXPECT_EQ((UINT)MB_YESNO, run.boxes[1].style);
    EXPECT_GE(session_.RestartsSettled(), 1) << "Yes: Windows is restarted";

    EXPECT_EQ(registry, Registry());
    EXPECT_EQ(0, IsMouseAppRegistered());
    EXPECT_EQ(otherIni, ReadWholeFile(Win("\\KXMOUSE.INI"))) << "the older file is back";
    // This program itself is deleted at the next start; nothing else is left.
    EXPECT_EQ("NUL=" + ShortPath(std::string(Dest) + "\\UNINSTAL.EXE") + "\n", Wininit());
    EXPECT_EQ(files + "UNINSTAL.EXE " + std::to_string(ReadWholeFile(BuiltUninstallExe()).size()) + "\n",
              Files(Dest));

    // A second run finds nothing to do and changes nothing.
    SetupRun second = RunBuiltProgram("", Dest, "UNINSTAL.EXE", "-s");
    EXPECT_EQ(1u, second.exitCode);
    EXPECT_TRUE(second.boxes.empty());
    EXPECT_EQ(registry, Registry());
    std::string entries = Wininit();
    EXPECT_EQ(1, std::count(entries.begin(), entries.end(), '\n')) << "no second entry";

    // The next start of Windows: the directory stays, empty (WININIT.INI deletes files).
    RestartWithWineboot();
    EXPECT_EQ(files, Files(Dest));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Dest)) << "an empty directory";
    ExpectSetupRunsAgain();
}

// SETUP.EXE -s: the wizard's serial installation into a directory with a blank, with
// no window at all, then a restart (-r); a second run is refused, and the uninstall entry with -s puts
// everything back.
TEST_F(Uninstall, UnattendedInstallIsTheWizardsWithoutAWindow)
{
    std::string before = Registry() + Files(ProgramFiles);
    const std::string report = "C:\\t\\unireport.txt";
    std::string args = "-s -serial -r -d \"" + ProgramFiles + "\" -l " + report;
    SetupRun silent = RunSetupExe(medium_, "SETUP.EXE", args.c_str(), {}, 30000);
    EXPECT_EQ(0u, silent.exitCode);
    // The report: the command line, every directory made, file put in place, key
    // written and the system.ini change, and the exit code last.
    std::vector<std::string> lines = ReportLines(report);
    DeleteFileA(report.c_str());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(0u, lines[0].find("RUN ")) << lines[0];
    EXPECT_NE(std::string::npos, lines[0].find(args)) << lines[0];
    EXPECT_EQ("EXIT 0", lines.back());
    std::vector<std::string> expected = {"DIR " + ProgramFiles, "DIR " + ProgramFiles + "\\DRIVERS",
        "FILE " + ProgramFiles + "\\UNINSTAL.EXE", "FILE " + ProgramFiles + "\\HELP\\KXMOUSE.HLP",
        "FILE " + Win("\\SYSTEM\\KXMOUSE.VXD"), "FILE " + VxdBak(),
        "KEY HKEY_LOCAL_MACHINE\\" + std::string(UninstallKey), "KEY HKEY_LOCAL_MACHINE\\" + std::string(RunKey),
        "KEY HKEY_CLASSES_ROOT\\" + std::string(ClsidKey) + "\\InProcServer32",
        "KEY HKEY_LOCAL_MACHINE\\" + std::string(OwnNodeKey),
        "KEY HKEY_LOCAL_MACHINE\\" + std::string(ClassMouseKey) + "\\0000",
        "INI " + Win("\\system.ini") + " [386Enh] mouse=*vmouse"};
    for (const std::string &line : expected)
        EXPECT_EQ(1, std::count(lines.begin(), lines.end(), line)) << line;
    EXPECT_EQ(14, std::count_if(lines.begin(), lines.end(), [](const std::string &l) {
        return l.compare(0, 5, "FILE ") == 0 && l.find("VMOUSE") == std::string::npos; }))
        << "one line for each file of the package";
    EXPECT_EQ(0, std::count_if(lines.begin(), lines.end(), [](const std::string &l) {
        return l.compare(0, 6, "ASKED ") == 0 || l.compare(0, 7, "FAILED ") == 0; }));
    EXPECT_TRUE(silent.boxes.empty());
    EXPECT_EQ(std::vector<std::string>(), silent.windows) << "no window of any kind";
    EXPECT_GE(session_.RestartsSettled(), 1) << "-r: Windows is restarted";
    EXPECT_EQ("\"" + ProgramFiles + "\\KXMAIN.EXE\" -startup", GetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse"));
    std::string unattended = Registry() + Files(ProgramFiles);
    SetupRun again = RunSetupExe(medium_, "SETUP.EXE", ("-s -l " + report).c_str(), {}, 30000);
    EXPECT_EQ(1u, again.exitCode) << "the mouse application is registered now";
    EXPECT_TRUE(again.boxes.empty());
    lines = ReportLines(report);
    DeleteFileA(report.c_str());
    EXPECT_EQ((std::vector<std::string>{"FAILED " + std::string(OtherMouseText).replace(
                  std::string(OtherMouseText).find('\n'), 1, " "), "EXIT 1"}),
              std::vector<std::string>(lines.begin() + 1, lines.end()));

    EXPECT_EQ(0u, RunUninstallEntry("-s").exitCode);
    RestartWithWineboot();
    EXPECT_EQ(before, Registry() + Files(ProgramFiles));

    std::vector<ExternalStep> steps = WizardSteps(ProgramFiles.c_str());
    steps[1].act = [](HWND page) {
        PostClick(page, IDC_SERIAL);
        PostClick(page, IDC_NEXT);
    };
    ASSERT_EQ(0u, RunSetupExe(medium_, "SETUP.EXE", "", steps, 30000).exitCode);
    EXPECT_EQ(unattended, Registry() + Files(ProgramFiles)) << "the wizard's installation";
}

TEST_F(Uninstall, LivePs2NodeRoundTripSilentlyWithAFileInUse)
{
    AddLivePs2Node("Mouse\\0000");
    SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "DevLoader", "*vmouse");
    SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "DriverDesc", "Standard PS/2 Port Mouse");
    SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "MouseDriver", "mouse.drv");
    SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "InfPath", "MSMOUSE.INF");
    SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "InfSection", "PS2_Inst");   // no DriverDate
    std::string registry = Registry(), files = Files(LongDest);

    InstallPs2(LongDest);
    ASSERT_EQ("Orvel Wheel Mouse (PS/2)", GetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "DeviceDesc"));
    ASSERT_EQ("10-12-1998", GetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "DriverDate"));
    // The start-up command as a later setup writes it for a directory with a blank:
    // quoted, here with the directory's short name.
    std::string shortDest = ShortPath(LongDest);
    ASSERT_NE(LongDest, shortDest);
    SetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse", "\"" + shortDest + "\\KXMAIN.EXE\" -startup");
    // KXPAGE.DLL is in use, as by the Mouse control panel.
    HANDLE held = CreateFileA((LongDest + "\\KXPAGE.DLL").c_str(), GENERIC_READ, FILE_SHARE_READ, 0,
                              OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    SetupRun run = RunUninstallEntry("-s");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty()) << "no window with -s";
    EXPECT_EQ(0, session_.RestartsSettled()) << "and no restart";

    EXPECT_EQ(registry, Registry()) << "ConfigFlags, MouseType and DriverDate as they were too";
    EXPECT_EQ("NUL=" + ShortPath(LongDest + "\\KXPAGE.DLL") + "\n" +
              "NUL=" + ShortPath(LongDest + "\\UNINSTAL.EXE") + "\n", Wininit());

    CloseHandle(held);
    RestartWithWineboot();
    EXPECT_EQ(files, Files(LongDest)) << "in use and the uninstaller: gone at the next start";
    ExpectSetupRunsAgain();
}

TEST_F(Uninstall, CancelledCopyThenTheUninstallEntryThenAFullInstall)
{
    // A second disk long enough for the Cancel to land while it is being copied.
    std::string script = ReadWholeFile(medium_ + "\\SETUP.INF");
    std::string extra;
    for (int k = 8; k <= 307; k++)
        extra += std::to_string(k) + "=KXTUNE.EX_, T" + std::to_string(k) + ".EXE, Copy, SubDir2\r\n";
    size_t counts = script.find("Disk2=7"), pmInfo = script.find("[PM Info]");
    ASSERT_NE(std::string::npos, counts);
    ASSERT_NE(std::string::npos, pmInfo);
    std::string longer = script;
    longer.insert(pmInfo, extra);
    longer.replace(counts, 7, "Disk2=307");
    WriteWholeFile(medium_ + "\\SETUP.INF", longer);
    // The detected mouse's node names a class key that is not there: setup makes it.
    AddLivePs2Node("Mouse\\0002");
    std::string registry = Registry();

    // Cancel once the first two files are in place (a Cancel during the very first file
    // would come before the uninstaller).
    std::vector<ExternalStep> steps = WizardSteps(nullptr, false);
    steps.push_back({"SETUP_INSTALL", [](HWND page) {
        DWORD start = GetTickCount();
        while (GetFileAttributesA("C:\\ORVEL\\UNINSTAL.EXE") == INVALID_FILE_ATTRIBUTES &&
               GetTickCount() - start < 10000)
            Sleep(1);
        PostClick(page, IDC_NEXT);   // its Cancel
    }});
    SetupRun cancelled = RunSetupExe(medium_, "SETUP.EXE", "", steps, 30000);
    ASSERT_EQ(1u, cancelled.boxes.size());
    EXPECT_EQ(AbortText, cancelled.boxes[0].text);
    ASSERT_EQ(1, IsMouseAppRegistered()) << "registered all the same, as designed";
    ASSERT_EQ("kxmouse.drv", GetRegText(HKEY_LOCAL_MACHINE, Class("0002"), "MouseDriver"));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\ORVEL\\SETUP.INF"));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\ORVEL\\UNINSTAL.EXE"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\ORVEL\\TOOLS\\T307.EXE"))
        << "the copy stopped part-way";

    WNDCLASSA wc = {};
    wc.lpfnWndProc = MouseApp;
    wc.lpszClassName = "UninstallMouseApp";
    RegisterClassA(&wc);
    CloseRequests = 0;
    CreateWindowExA(0, "UninstallMouseApp", "ZennoMouse", WS_POPUP, 0, 0, 5, 5, 0, 0, 0, 0);
    SetupRun run = RunUninstallEntry("", {IDYES, IDNO});
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(2u, run.boxes.size());
    EXPECT_EQ(1, CloseRequests) << "the running mouse application was asked to close";
    EXPECT_EQ(registry, Registry({"ConfigFlags"})) << "the class key setup made is gone";
    EXPECT_EQ("UNINSTAL.EXE " + std::to_string(ReadWholeFile(BuiltUninstallExe()).size()) + "\n",
              FileTree(Dest)) << "the partial copy is gone";
    EXPECT_EQ(0, session_.RestartsSettled()) << "No: no restart";

    WriteWholeFile(medium_ + "\\SETUP.INF", script);
    InstallPs2(Dest);
    EXPECT_EQ(ReadWholeFile(BuiltUninstallExe()), ReadWholeFile("C:\\ORVEL\\UNINSTAL.EXE"));
}

TEST_F(Uninstall, NothingInstalledNoAtTheQuestionAndAMouseLineChangedSince)
{
    // No SETUP.INF beside it.
    AddLivePs2Node(nullptr);
    CreateDirectoryA(Empty.c_str(), 0);
    std::string registry = Registry(), files = Files(Dest);
    SetupRun nothing = RunBuiltProgram(BuiltUninstallExe(), Empty, "UNINSTAL.EXE", "");
    EXPECT_EQ(1u, nothing.exitCode);
    ASSERT_EQ(1u, nothing.boxes.size());
    EXPECT_EQ(NothingText, nothing.boxes[0].text);
    EXPECT_EQ(Caption, nothing.boxes[0].caption);
    EXPECT_EQ((UINT)MB_OK, nothing.boxes[0].style);
    SetupRun silent = RunBuiltProgram(BuiltUninstallExe(), Empty, "UNINSTAL.EXE", "-s");
    EXPECT_EQ(1u, silent.exitCode);
    EXPECT_TRUE(silent.boxes.empty());
    EXPECT_EQ(registry, Registry());
    EXPECT_EQ(files, Files(Dest));
    EXPECT_EQ("", Wininit());
    // A medium copied to the disk, its plain UNINSTAL.EXE beside its SETUP.INF: nothing
    // was installed from there, and its files stay.
    ASSERT_TRUE(CopyFileA(BuiltUninstallExe().c_str(), (medium_ + "\\UNINSTAL.EXE").c_str(), FALSE));
    std::string medium = FileTree(medium_);
    EXPECT_EQ(1u, RunProgram("", medium_ + "\\UNINSTAL.EXE -s", "C:\\", {}, 20000).exitCode);
    EXPECT_EQ(medium, FileTree(medium_));
    EXPECT_EQ(registry, Registry());
    EXPECT_EQ("", Wininit());

    // No at the question: nothing is changed.
    InstallPs2(Dest);
    std::string installedRegistry = Registry(), installedFiles = Files(Dest);
    std::string record = ReadWholeFile("C:\\ORVEL\\SETUP.INF");
    // "-sx" is no unattended run (that is "-s" alone, or followed by a blank): it asks.
    for (const char *args : {"", "-sx"}) {
        SetupRun declined = RunUninstallEntry(args, {IDNO});
        EXPECT_EQ(3u, declined.exitCode) << args;
        ASSERT_EQ(1u, declined.boxes.size()) << args;
        EXPECT_EQ(QuestionText, declined.boxes[0].text);
    }
    EXPECT_EQ(installedRegistry, Registry());
    EXPECT_EQ(installedFiles, Files(Dest));
    EXPECT_EQ(record, ReadWholeFile("C:\\ORVEL\\SETUP.INF"));
    EXPECT_EQ("", Wininit());

    // What cannot be read is no "nothing installed": a box naming what could not be read,
    // exit code 2, nothing changed, and the entry still there for a second run; an
    // unattended run with an option it does not know changes nothing either (exit code 4).
    const std::string winLog = Win("\\KXSETUP.LOG"), log = ReadWholeFile(winLog);
    HANDLE script = INVALID_HANDLE_VALUE;
    const struct {
        const char *what, *args;
        std::function<void()> before, after;
        DWORD exitCode;
        std::string box;
    } refusals[] = {
        {"a script that cannot be read", "",
         [&script]() { script = CreateFileA("C:\\ORVEL\\SETUP.INF", GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0); },
         [&script]() { CloseHandle(script); }, 2, ReadErrorText},
        {"two copies of the log that disagree beyond a torn last line", "",
         [&winLog, &log]() { WriteWholeFile(winLog, log + "PHASE\tX\r\nPHASE\tY\r\n"); },
         [&winLog, &log]() { WriteWholeFile(winLog, log); }, 2,
         "Can not read the file\nC:\\ORVEL\\KXSETUP.LOG !\nAnother program may be using it."},
        {"-s with an option it does not know", "-s -x", nullptr, nullptr, 4},
        {"-s -l without its path", "-s -l", nullptr, nullptr, 4},
    };
    for (const auto &r : refusals) {
        if (r.before)
            r.before();
        SetupRun refused = RunUninstallEntry(r.args);
        if (r.after)
            r.after();
        EXPECT_EQ(r.exitCode, refused.exitCode) << r.what;
        EXPECT_EQ(r.exitCode == 2 ? std::vector<std::string>{r.box} : std::vector<std::string>{},
                  BoxTexts(refused)) << r.what;
        EXPECT_EQ(installedRegistry, Registry()) << r.what;
        EXPECT_EQ(installedFiles, Files(Dest)) << r.what;
        EXPECT_EQ("", Wininit()) << r.what;
    }
    // One line more in one copy, as a power cut between the two writes leaves it, is
    // no disagreement: the longer copy is followed.
    WriteWholeFile(winLog, log + "PHASE\tX\r\n");

    // The user changed the mouse line since: it stays; the rest goes. A start-up value
    // naming another directory's KXMAIN.EXE is not this installation's: it stays too,
    // as does the class key setup made once another driver has taken it over.
    std::string changed = ReadWholeFile(Win("\\system.ini"));
    size_t line = changed.find("mouse=*vmouse\r\n");
    ASSERT_NE(std::string::npos, line);
    changed.replace(line, 15, "mouse=*vmouse, kxextra.vxd\r\n");
    WriteWholeFile(Win("\\system.ini"), changed);
    SetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse", "C:\\OTHER\\KXMAIN.EXE -startup");
    ASSERT_EQ("Mouse\\0000", GetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "Driver"));
    SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "MouseDriver", "other.drv");
    SetupRun silentRun = RunUninstallEntry("-s");
    EXPECT_EQ(0u, silentRun.exitCode);
    EXPECT_EQ(changed, ReadWholeFile(Win("\\system.ini")));
    EXPECT_EQ("stock VMOUSE.VXD", ReadWholeFile(Vxd()));
    EXPECT_EQ("C:\\OTHER\\KXMAIN.EXE -startup", GetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse"));
    EXPECT_EQ("other.drv", GetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "MouseDriver"));
    EXPECT_EQ("Mouse\\0000", GetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "Driver"));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_ALL_ACCESS, &key));
    RegDeleteValueA(key, "ZennoMouse");
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, Ps2Node, 0, KEY_ALL_ACCESS, &key));
    RegDeleteValueA(key, "Driver");
    RegCloseKey(key);
    DeleteRegTree(HKEY_LOCAL_MACHINE, Class("0000"));
    EXPECT_EQ(registry, Registry({"ConfigFlags"})) << "all else is as before";
}

TEST_F(Uninstall, ARunThatCannotPutEverythingBackCanBeRepeated)
{
    // The detected mouse's node has no class key yet; another device has Mouse\0000.
    // system.ini's [386Enh] has no mouse line: setup adds one.
    AddLivePs2Node(nullptr);
    WriteWholeFile(Win("\\system.ini"), "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\n"
                                        "[Mouse]\r\nSwapButtons=0\r\n");
    SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "MouseDriver", "mouse.drv");
    std::string registry = Registry(), files = Files(Dest);
    InstallPs2(Dest);
    ASSERT_EQ("Mouse\\0001", GetRegText(HKEY_LOCAL_MACHINE, Ps2Node, "Driver"));
    ASSERT_NE(std::string::npos, ReadWholeFile(Win("\\system.ini")).find("mouse=*vmouse\r\n[Mouse]"));
    // A system.bak that cannot be replaced stops system.ini's rotation.
    std::string bak = Win("\\system.bak");
    SetFileAttributesA(bak.c_str(), FILE_ATTRIBUTE_READONLY);
    SetupRun failed = RunUninstallEntry("-s");
    SetFileAttributesA(bak.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(2u, failed.exitCode);
    EXPECT_TRUE(failed.boxes.empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\ORVEL\\SETUP.INF")) << "kept for a second run";
    EXPECT_EQ("", Wininit()) << "the uninstaller stays for it too";
    EXPECT_EQ(0, IsMouseAppRegistered());

    SetupRun again = RunBuiltProgram("", Dest, "UNINSTAL.EXE", "-s");
    EXPECT_EQ(0u, again.exitCode);
    EXPECT_EQ(registry, Registry({"ConfigFlags"})) << "the class key setup made is gone";
    EXPECT_EQ(files + "UNINSTAL.EXE " + std::to_string(ReadWholeFile(BuiltUninstallExe()).size()) + "\n",
              Files(Dest));
}

// An installation made again before the restart a removal asked for: the removal's
// NUL= lines (its own UNINSTAL.EXE, a file that was in use, both short while the
// destination is written long) go; another program's lines stay, in order.
TEST_F(Uninstall, InstalledAgainBeforeTheRestartTheRemovalAskedFor)
{
    InstallPs2(LongDest);
    std::string ini = Win("\\WININIT.INI");
    WriteWholeFile(ini, "[rename]\r\nNUL=C:\\OTHER.TMP\r\n");
    HANDLE held = CreateFileA((LongDest + "\\KXPAGE.DLL").c_str(), GENERIC_READ, FILE_SHARE_READ, 0,
                              OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0u, RunUninstallEntry("-s").exitCode);
    CloseHandle(held);
    WriteWholeFile(ini, ReadWholeFile(ini) + "C:\\A.DLL=C:\\A.NEW\r\n");
    ASSERT_EQ("NUL=C:\\OTHER.TMP\nNUL=" + ShortPath(LongDest + "\\KXPAGE.DLL") + "\nNUL=" +
              ShortPath(LongDest + "\\UNINSTAL.EXE") + "\nC:\\A.DLL=C:\\A.NEW\n", Wininit());

    InstallPs2(LongDest);
    EXPECT_EQ("NUL=C:\\OTHER.TMP\nC:\\A.DLL=C:\\A.NEW\n", Wininit());
    std::string installed = Files(LongDest);
    RestartWithWineboot();
    EXPECT_EQ(installed, Files(LongDest)) << "the second installation whole after the start";
}

// WININIT.INI held by another program that writes it. Unshared, nothing pending can be
// read, so not even the first file is put in place; shared for reading, the copy gets
// as far as the driver in use, which it cannot schedule. Either way the question names
// WININIT.INI, and the other program's lines stay whole.
TEST_F(Uninstall, AWininitHeldByAnotherProgramIsNamedAndKeptWhole)
{
    const std::string ini = Win("\\WININIT.INI"), vxd = Win("\\SYSTEM\\KXMOUSE.VXD");
    const std::string lines = "[rename]\r\nNUL=C:\\OTHER.TMP\r\nC:\\A.DLL=C:\\A.NEW\r\n";
    const struct { DWORD share; bool firstFileIn; } holds[] = {{0, false}, {FILE_SHARE_READ, true}};
    for (const auto &hold : holds) {
        WriteWholeFile(ini, lines);
        WriteWholeFile(vxd, "a loaded driver");
        HANDLE driver = CreateFileA(vxd.c_str(), GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING,
                                    0, 0);
        HANDLE held = CreateFileA(ini.c_str(), GENERIC_WRITE, hold.share, 0, OPEN_EXISTING, 0, 0);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        SetupRun run = RunSetupExe(medium_, "SETUP.EXE", "", WizardSteps(nullptr, false), 30000,
                                   Answers({IDCANCEL}));
        CloseHandle(held);
        CloseHandle(driver);
        ASSERT_EQ(2u, run.boxes.size()) << hold.share;
        EXPECT_EQ("Can not write the file\n" + ini + " !\nAnother program may be using it.",
                  run.boxes[0].text);
        EXPECT_EQ((UINT)MB_RETRYCANCEL, run.boxes[0].style);
        EXPECT_EQ(AbortText, run.boxes[1].text);
        EXPECT_EQ(lines, ReadWholeFile(ini));
        EXPECT_EQ("a loaded driver", ReadWholeFile(vxd));
        EXPECT_EQ(hold.firstFileIn,
                  GetFileAttributesA("C:\\ORVEL\\SETUP.INF") != INVALID_FILE_ATTRIBUTES);
        RemoveInstalled();
    }
}

// The destination page refuses what the copy could not serve; a 70-character
// destination installs, keeps a second setup away and uninstalls whole.
TEST_F(Uninstall, LongDestinationsInstallRefuseASecondSetupAndUninstallWhole)
{
    ASSERT_EQ(70u, Dest70.size());
    CreateDirectoryA(LongDest.c_str(), 0);
    // A 39-character SubDir below a 79-character destination is more than the LZ
    // service's 128 bytes; a typed text of 86 characters is more than the page keeps.
    std::string script = ReadWholeFile(medium_ + "\\SETUP.INF"), longSub = script;
    longSub.replace(longSub.find("SubDir6=DRIVERS"), 15, "SubDir6=" + std::string(39, 'S'));
    WriteWholeFile(medium_ + "\\SETUP.INF", longSub);
    std::string dest79 = LongDest + "\\" + std::string(79 - 17, 'L');
    std::string typed86 = LongDest + "\\" + std::string(68, 'X');
    auto typeAndNext = [](std::string text, size_t afterBoxes) {
        return ExternalStep{"SETUP_SELDIR", [text](HWND page) {
            SetDlgItemTextA(page, IDC_DIRTEXT, text.c_str());
            PostClick(page, IDC_NEXT);
        }, afterBoxes > 0, afterBoxes};
    };
    SetupRun refused = RunSetupExe(medium_, "SETUP.EXE", "", {
        Press("SETUP_BEGIN", IDC_NEXT), Press("SETUP_SELMOUSE", IDC_NEXT),
        typeAndNext(dest79, 0), typeAndNext(typed86, 1),
        {"SETUP_SELDIR", [](HWND page) { PostClick(page, IDC_CANCEL); }, true, 2}});
    ASSERT_EQ(3u, refused.boxes.size());
    EXPECT_EQ(CannotCreateText, refused.boxes[0].text) << "beyond the LZ service's paths";
    EXPECT_EQ(CannotCreateText, refused.boxes[1].text) << "longer than the page keeps";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dest79.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(typed86.substr(0, 79).c_str()))
        << "nor the first 79 characters of a longer text";
    WriteWholeFile(medium_ + "\\SETUP.INF", script);

    std::string registry = Registry(), files = Files(Dest70);
    InstallPs2(Dest70);
    SetupRun second = RunSetupExe(medium_, "SETUP.EXE", "", {});
    ASSERT_EQ(1u, second.boxes.size());
    EXPECT_EQ(OtherMouseText, second.boxes[0].text) << "the whole start-up command is read";
    SetupRun run = RunUninstallEntry("-s");
    EXPECT_EQ(0u, run.exitCode) << "the uninstaller finds its own directory whole";
    EXPECT_EQ(registry, Registry());
    EXPECT_EQ(files + LeftUninstaller(), Files(Dest70));
}

// Nothing is registered when the copy ends before the uninstaller is in place: setup
// can simply run again.
// Keys below the uninstall entry deeper than any the package writes stay, and the entry
// with them: the uninstaller deletes no key while one that stays is below it (Windows
// 95 would take them along).
TEST_F(Uninstall, KeysDeeperThanThePackagesStayWithTheEntryAbove)
{
    ASSERT_EQ(0u, RunSetupExe(medium_, "SETUP.EXE", "-s", {}, 30000).exitCode);
    std::string deep = UninstallKey;
    for (int level = 1; level <= 9; level++)
        deep += "\\L" + std::to_string(level);
    SetRegText(HKEY_LOCAL_MACHINE, deep, "Note", "another program's");
    EXPECT_EQ(2u, RunUninstallEntry("-s").exitCode) << "the entry cannot go";
    EXPECT_EQ("another program's", GetRegText(HKEY_LOCAL_MACHINE, deep, "Note"));
    EXPECT_NE("<no value>", GetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"))
        << "the entry stays, to be run again";
}

// An older file kept on another drive than its place, put back at the next start for a
// file in use: WININIT.EXE renames within one drive, so it goes there by a copy first.
TEST_F(Uninstall, AnOlderFileKeptOnAnotherDriveComesBackAtTheNextStart)
{
    const std::string dest = "D:\\ORVEL", ini = Win("\\KXMOUSE.INI");
    WriteWholeFile(ini, "another program's KXMOUSE.INI");
    ASSERT_EQ(0u, RunSetupExe(medium_, "SETUP.EXE", ("-s -d " + dest).c_str(), {}, 30000).exitCode);
    ASSERT_EQ("another program's KXMOUSE.INI", ReadWholeFile(dest + "\\REPLACED\\WINDOWS\\KXMOUSE.INI"));
    HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0u, RunUninstallEntry("-s").exitCode);
    CloseHandle(held);
    RestartWithWineboot();
    EXPECT_EQ("another program's KXMOUSE.INI", ReadWholeFile(ini)) << "back in its place";
    EXPECT_EQ(0, CountMatching(WindowsDirectory() + "\\KX*.TMP")) << "the copy became it";
    RemoveTree(dest);
    DeleteFileA(ini.c_str());
}

TEST_F(Uninstall, CancelAtTheQuestionForTheUninstallerRegistersNothing)
{
    std::string registry = Registry(), files = Files(Dest);
    DeleteFileA((medium_ + "\\UNINSTAL.EX_").c_str());
    SetupRun run = RunSetupExe(medium_, "SETUP.EXE", "", WizardSteps(nullptr, false), 30000,
                               Answers({IDCANCEL}));
    ASSERT_EQ(2u, run.boxes.size());
    EXPECT_EQ(0u, run.boxes[0].text.find("Please insert 'Orvel Wheel Mouse Disk 1'"))
        << run.boxes[0].text;
    EXPECT_EQ(AbortText, run.boxes[1].text);
    EXPECT_EQ(registry, Registry()) << "no uninstall entry, no start-up value, no device";
    EXPECT_EQ(Win98Ini, ReadWholeFile(Win("\\system.ini")));
    ExpectSetupRunsAgain();
}

// system.ini comes back from the installation's record when system.bak is gone; a
// system.bak that cannot be replaced stops the patch, which is told and leaves
// VMOUSE.VXD in place, and the uninstall entry still takes the rest away.
TEST_F(Uninstall, SystemIniByTheRecordAndAReadOnlySystemBak)
{
    std::string registry = Registry(), files = Files(Dest);
    InstallPs2(Dest);
    ASSERT_TRUE(DeleteFileA(Win("\\system.bak").c_str())) << "cleaned away as *.BAK";
    EXPECT_EQ(0u, RunUninstallEntry("-s").exitCode);
    EXPECT_EQ(registry, Registry());
    EXPECT_EQ(files + LeftUninstaller(), Files(Dest));

    std::string bak = Win("\\system.bak");
    WriteWholeFile(bak, "an old backup");
    SetFileAttributesA(bak.c_str(), FILE_ATTRIBUTE_READONLY);
    SetupRun run = RunSetupExe(medium_, "SETUP.EXE", "", WizardSteps(nullptr, false), 30000);
    SetFileAttributesA(bak.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(3u, run.boxes.size());
    EXPECT_EQ(DirExistsText, run.boxes[0].text) << "the uninstaller waits for the restart there";
    EXPECT_NE(std::string::npos, run.boxes[1].text.find(bak)) << run.boxes[1].text;
    EXPECT_EQ(AbortText, run.boxes[2].text) << "no finish page";
    EXPECT_EQ("an old backup", ReadWholeFile(bak));
    EXPECT_EQ(Win98Ini, ReadWholeFile(Win("\\system.ini")));
    EXPECT_EQ("stock VMOUSE.VXD", ReadWholeFile(Vxd())) << "not set aside";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Win("\\system.new").c_str()));
    EXPECT_EQ(0u, RunUninstallEntry("-s").exitCode);
    EXPECT_EQ(registry, Registry());
    DeleteFileA(bak.c_str());
    EXPECT_EQ(files + LeftUninstaller(), Files(Dest));
}

// A copy of an installed directory, run after the package was removed and installed
// elsewhere, is no installation: neither its log nor the uninstall entry names it. It
// says so and touches nothing, neither its own files nor the new installation.
TEST_F(Uninstall, AnOldCopyOfTheUninstallerLeavesTheNewInstallationAlone)
{
    AddLivePs2Node(nullptr);
    InstallPs2(Dest);
    CopyTree(Dest, Backup);
    ASSERT_EQ(0u, RunUninstallEntry("-s").exitCode);
    InstallPs2(LongDest);
    std::string registry = Registry(), files = Files(LongDest), copy = FileTree(Backup);

    SetupRun old = RunBuiltProgram("", Backup, "UNINSTAL.EXE", "-s");
    EXPECT_EQ(1u, old.exitCode);
    EXPECT_EQ(registry, Registry()) << "entries, device and page of the new installation";
    EXPECT_EQ(files, Files(LongDest)) << "system.ini, VMOUSE, the Windows files and its own";
    EXPECT_EQ(copy, FileTree(Backup)) << "the old copy's files stay";
}

// Installed again over an installation whose start-up value a start-up manager took
// away: the fresh SETUP.INF keeps what the first installation noted, so that the
// uninstaller puts back what was there before either. The first installation's files
// are the package's, also for a second that names the destination in its 8.3 form.
TEST_F(Uninstall, AnInstallationOverAnotherKeepsTheFirstRecord)
{
    AddLivePs2Node(nullptr);
    CreateDirectoryA(LongDest.c_str(), 0);
    const struct { std::string first, second; } forms[] = {
        {Dest, Dest}, {LongDest, ShortPath(LongDest)}};
    ASSERT_NE(LongDest, forms[1].second);
    for (const auto &f : forms) {
        std::string registry = Registry(), files = Files(f.first);
        InstallPs2(f.first);
        HKEY run;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_ALL_ACCESS, &run));
        RegDeleteValueA(run, "ZennoMouse");
        RegCloseKey(run);
        InstallPs2(f.second);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((f.first + "\\REPLACED").c_str()))
            << f.second << ": the first installation's files are not kept as another program's";
        EXPECT_EQ(0u, RunUninstallEntry("-s").exitCode) << f.second;
        EXPECT_EQ(registry, Registry({"ConfigFlags"})) << f.second << ": the detected mouse's own texts";
        EXPECT_EQ(files + LeftUninstaller(), Files(f.first)) << f.second << ": system.ini's own line, no file kept";
    }
}

// A place is one place however it was written: the round trip is exact and a second
// setup is refused, whatever form the destination was given in.
TEST_F(Uninstall, EveryFormOfADestinationRoundTrips)
{
    // What the package puts into the root of a drive, and setup's temporary files there.
    const char *const rootNames[] = {"SETUP.INF", "UNINSTAL.EXE", "KXMAIN.EXE", "KXPAGE.DLL",
                                     "README.TXT", "REPLACED", "HELP", "TOOLS", "SCHEMES",
                                     "DOCS", "LANG", "DRIVERS"};
    auto rootFiles = [&rootNames]() {
        std::string tree = Files("C:\\t\\none") + "root:";
        for (const char *name : rootNames)
            if (GetFileAttributesA((std::string("C:\\") + name).c_str()) != INVALID_FILE_ATTRIBUTES)
                tree += std::string(" ") + name + "\n" + FileTree(std::string("C:\\") + name);
        return tree + std::to_string(CountMatching("C:\\KX*.TMP")) + " temporary\n";
    };
    const struct {
        const char *how, *args, *typed, *place, *subDir6;
        bool doubled;   // the entries as earlier versions wrote them, for "C:\ORVEL\"
    } cases[] = {
        {"-d with a backslash at its end", "-s -ps2 -d C:\\ORVEL\\", nullptr, "C:\\ORVEL", nullptr},
        {"typed in lower case", nullptr, "c:\\orvel", "c:\\orvel", nullptr},
        {"-d with \"..\" in it", "-s -d C:\\t\\..\\ORVEL", nullptr, "C:\\ORVEL", nullptr},
        {"the root of a drive, quoted", "-s -d \"C:\\\"", nullptr, "C:\\", nullptr},
        {"a SubDir of two levels", nullptr, nullptr, "C:\\ORVEL", "DRIVERS\\WIN95"},
        {"an earlier version's entries", "-s", nullptr, "C:\\ORVEL", nullptr, true},
    };
    std::string script = ReadWholeFile(medium_ + "\\SETUP.INF");
    for (const auto &c : cases) {
        bool root = std::string(c.place) == "C:\\";
        auto state = [&]() { return Registry() + (root ? rootFiles() : Files(DefaultDest)); };
        std::string before = state();
        if (c.subDir6) {   // the medium's DRIVERS files one level deeper
            std::string twoLevels = script;
            twoLevels.replace(twoLevels.find("SubDir6=DRIVERS"), 15, std::string("SubDir6=") + c.subDir6);
            WriteWholeFile(medium_ + "\\SETUP.INF", twoLevels);
            CreateDirectoryA((medium_ + "\\DRIVERS\\WIN95").c_str(), 0);
            MoveFileA((medium_ + "\\DRIVERS\\KXMOUSE.DR_").c_str(),
                      (medium_ + "\\DRIVERS\\WIN95\\KXMOUSE.DR_").c_str());
        }
        SetupRun install = c.args ? RunSetupExe(medium_, "SETUP.EXE", c.args, {}, 30000)
                                  : RunSetupExe(medium_, "SETUP.EXE", "", WizardSteps(c.typed), 30000);
        EXPECT_EQ(0u, install.exitCode) << c.how;
        if (c.doubled) {
            SetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", "C:\\ORVEL\\\\UNINSTAL.EXE");
            SetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse", "C:\\ORVEL\\\\KXMAIN.EXE -startup");
            SetRegText(HKEY_CLASSES_ROOT, std::string(ClsidKey) + "\\InProcServer32", "",
                       "C:\\ORVEL\\\\KXPAGE.DLL");
        } else {
            EXPECT_EQ(std::string(c.place) + (root ? "" : "\\") + "UNINSTAL.EXE",
                      GetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString")) << c.how;
        }
        if (c.subDir6)
            EXPECT_NE(INVALID_FILE_ATTRIBUTES,
                      GetFileAttributesA("C:\\ORVEL\\DRIVERS\\WIN95\\KXMOUSE.DRV")) << c.how;
        EXPECT_EQ(1u, RunSetupExe(medium_, "SETUP.EXE", "-s", {}, 30000).exitCode)
            << c.how << ": a second setup is refused";
        EXPECT_EQ(0u, RunUninstallEntry("-s").exitCode) << c.how;
        RestartWithWineboot();   // which deletes the uninstaller itself
        EXPECT_EQ(before, state()) << c.how;
        WriteWholeFile(medium_ + "\\SETUP.INF", script);
        MoveFileA((medium_ + "\\DRIVERS\\WIN95\\KXMOUSE.DR_").c_str(),
                  (medium_ + "\\DRIVERS\\KXMOUSE.DR_").c_str());
        for (const char *name : rootNames) {
            std::string path = std::string("C:\\") + name;
            if (root && !DeleteFileA(path.c_str()))
                RemoveTree(path);
        }
        DeleteFileA(Win("\\wininit.bak").c_str());
    }
}

// What the user or another program does around an installation: each sequence, from
// an installation through the user's action to the uninstall entry, ends with the
// machine as it was before, less what someone else changed since, which is left as
// it is and named in the uninstaller's report.
TEST_F(Uninstall, SequencesAroundAnInstallationEndWithTheMachineAsBefore)
{
    const std::string ini = Win("\\system.ini"), report = "C:\\t\\uninstall.txt";
    const std::string ownNode = "Enum\\Root\\OrvelMouse\\0000";
    const struct {
        const char *what;
        std::function<void()> before;          // the machine as the user has it
        std::function<void()> after;           // once installed: the user's action
        std::vector<std::string> left;         // what the report names as left
        std::function<void()> tidy;            // what the test itself changed, taken away
        const char *from;                      // where setup runs from: the medium's copy
        std::string gone;                      // a file of the destination that goes with it
        const char *goneFromWindows;           // a file of the Windows directory that goes
    } sequences[] = {
        {"a read-only system.ini",
         [&ini]() { SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY); },
         [&ini]() {
             EXPECT_NE(std::string::npos, ReadWholeFile(ini).find("mouse=*vmouse\r\n"));
             EXPECT_TRUE(GetFileAttributesA(ini.c_str()) & FILE_ATTRIBUTE_READONLY)
                 << "patched, and read-only still";
         }},
        {"SETUP.INF deleted from the destination", nullptr,
         []() { ASSERT_TRUE(DeleteFileA("C:\\ORVEL\\SETUP.INF")); }},
        {"the destination's copy of the log deleted", nullptr,
         []() { ASSERT_TRUE(DeleteFileA("C:\\ORVEL\\KXSETUP.LOG")); }},
        {"both copies of the log deleted: an earlier version's installation, by its record",
         nullptr,
         [this]() {
             ASSERT_TRUE(DeleteFileA("C:\\ORVEL\\KXSETUP.LOG"));
             ASSERT_TRUE(DeleteFileA(Win("\\KXSETUP.LOG").c_str()));
         }},
        {"the destination deleted by hand, then installed again", nullptr,
         [this]() {
             RemoveTree(Dest);
             ASSERT_EQ(0u, RunSetupExe(medium_, "SETUP.EXE", "-s", {}, 30000).exitCode);
             EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\ORVEL\\REPLACED"))
                 << "the package's own driver is not kept as another program's file";
         }},
        {"setup run from a copy of the medium inside its destination",
         [this]() { CopyTree(medium_, Dest); },
         [this]() {
             EXPECT_EQ("", Wininit()) << "nothing waits for the next start";
             char line[64];
             GetPrivateProfileStringA("SystemIni", "MouseLine", "<none>", line, sizeof line,
                                      "C:\\ORVEL\\SETUP.INF");
             EXPECT_STREQ("mouse=*vmouse, msmouse.vxd", line) << "the record in the one script";
         },
         {}, nullptr, Dest, "SETUP.INF"},
        {"a destination holding another program's files of the same names",
         []() {
             CreateDirectoryA(Dest, 0);
             CreateDirectoryA("C:\\ORVEL\\HELP", 0);
             WriteWholeFile("C:\\ORVEL\\README.TXT", "another program's read-me");
             WriteWholeFile("C:\\ORVEL\\HELP\\KXMOUSE.HLP", "another program's help");
         },
         []() {
             EXPECT_NE("another program's read-me", ReadWholeFile("C:\\ORVEL\\README.TXT"));
             EXPECT_NE(std::string::npos, ReadWholeFile("C:\\ORVEL\\KXSETUP.LOG")
                           .find("README.TXT\t1\tC:\\ORVEL\\REPLACED\\README.TXT\r\n"))
                 << "kept under its place's one form";
         }},
        {"the user's own files named like setup's temporary files",
         []() {
             CreateDirectoryA(Dest, 0);
             CreateDirectoryA("C:\\ORVEL\\HELP", 0);
             WriteWholeFile("C:\\ORVEL\\KX12.TMP", "the user's");
             WriteWholeFile("C:\\ORVEL\\HELP\\KXNOTES.TMP", "the user's");
         },
         []() { EXPECT_EQ("the user's", ReadWholeFile("C:\\ORVEL\\KX12.TMP")); }},
        {"a file of the package changed since by the user", nullptr,
         []() { WriteWholeFile("C:\\ORVEL\\README.TXT", "the user's notes"); },
         {"C:\\ORVEL\\README.TXT"},
         []() { DeleteFileA("C:\\ORVEL\\README.TXT"); }},
        {"the driver-only mode after the install, for the other mouse type", nullptr,
         [this]() {
             SetupRun run = RunSetupExe(medium_, "SETUP.EXE", "-u", {{"SETUP_SELMOUSE", [](HWND page) {
                                            PostClick(page, IDC_PS2);
                                            PostClick(page, IDC_NEXT);
                                        }}});
             ASSERT_EQ(1u, run.boxes.size());
             EXPECT_EQ(DriverDoneText, run.boxes[0].text);
             EXPECT_EQ("PS2", GetRegText(HKEY_LOCAL_MACHINE, Class("0001"), "MouseType"));
         }},
        {"a script whose first disk does not install it",
         [this]() {
             std::string script = ReadWholeFile(medium_ + "\\SETUP.INF");
             size_t at = script.find("1=SETUP.INF, SETUP.INF, Setup script, RootDir");
             ASSERT_NE(std::string::npos, at);
             WriteWholeFile(medium_ + "\\SETUP.INF",
                            script.replace(at, 46, "1=README.TXT, NOTES.TXT, Notes, RootDir"));
         },
         []() {
             EXPECT_NE(std::string::npos, ReadWholeFile("C:\\ORVEL\\SETUP.INF").find("[Replaced]"))
                 << "the record in a file of its own";
         },
         {}, [this]() { WriteWholeFile(medium_ + "\\SETUP.INF", ReadWholeFile(DirFromEnvironment("MEDIUM") + "\\SETUP.INF")); }},
        {"another driver took over the mouse node and the class key", nullptr,
         [&ownNode]() {
             SetRegText(HKEY_LOCAL_MACHINE, ownNode, "DeviceDesc", "Other Mouse");
             SetRegText(HKEY_LOCAL_MACHINE, Class("0000"), "MouseDriver", "other.drv");
         },
         {"HKEY_LOCAL_MACHINE\\" + ownNode + " DeviceDesc", "HKEY_LOCAL_MACHINE\\" + ownNode + " Driver",
          "HKEY_LOCAL_MACHINE\\" + Class("0000") + " MouseDriver", "HKEY_LOCAL_MACHINE\\" + Class("0000")},
         [&ownNode]() {
             DeleteRegTree(HKEY_LOCAL_MACHINE, "Enum\\Root\\OrvelMouse");
             DeleteRegTree(HKEY_LOCAL_MACHINE, Class("0000"));
         }},
        {"the clock moved on to daylight saving time after the install", nullptr,
         [this]() {
             if (Win98Answers()) {
                 SetWin98Bias(-60);   // Windows 95/98 read FAT's local times through it
             } else {
                 MoveTimesAnHour(Dest);
                 for (const char *f : {"\\SYSTEM\\KXMOUSE.VXD", "\\INF\\KXMOUSE.INF", "\\KXMOUSE.INI"})
                     MoveTimesAnHour(Win(f));
             }
         },
         {}, []() { SetWin98Bias(0); }},
        {"a file of the package rewritten by the user with its size and time", nullptr,
         []() { RewriteWithSizeAndTime("C:\\ORVEL\\README.TXT"); }, {"C:\\ORVEL\\README.TXT"},
         []() { DeleteFileA("C:\\ORVEL\\README.TXT"); }},
        {"the log left by an installation cleaned away by hand, the user's file where it placed one",
         [this]() {
             std::string clean = Registry();
             ASSERT_EQ(0u, RunSetupExe(medium_, "SETUP.EXE", "-s", {}, 30000).exitCode);
             CleanAwayByHand();
             ASSERT_EQ(clean, Registry()) << "cleaned away by hand";
             ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Win("\\KXSETUP.LOG").c_str()));
             CreateDirectoryA(Dest, 0);
             WriteWholeFile("C:\\ORVEL\\README.TXT", "the user's own notes");
         },
         []() {
             EXPECT_EQ("the user's own notes", ReadWholeFile("C:\\ORVEL\\REPLACED\\README.TXT"))
                 << "kept as another program's file";
         },
         {"C:\\ORVEL\\README.TXT"}, nullptr, nullptr, "", "\\KXSETUP.LOG"},   // the first
                                                                          // run's file replaced
    };
    for (const auto &q : sequences) {
        if (q.before)
            q.before();
        DWORD attributes = GetFileAttributesA(ini.c_str());
        std::string before = Registry() + Files(Dest);
        if (q.goneFromWindows) {   // named on the line of the Windows directory's files
            size_t at = before.find(std::string(" ") + q.goneFromWindows);
            ASSERT_NE(std::string::npos, at) << q.what;
            before.erase(at, 1 + strlen(q.goneFromWindows));
        }
        if (!q.gone.empty()) {   // the script became the installation's, and goes with it
            size_t at = before.find("\n" + q.gone + " ");
            ASSERT_NE(std::string::npos, at) << q.what;
            before.erase(at + 1, before.find('\n', at + 1) - at);
        }
        EXPECT_EQ(0u, RunSetupExe(q.from ? q.from : medium_, "SETUP.EXE", "-s", {}, 30000).exitCode) << q.what;
        q.after();
        DeleteFileA(report.c_str());
        EXPECT_EQ(0u, RunUninstallEntry(("-s -l " + report).c_str()).exitCode) << q.what;
        std::vector<std::string> left;
        for (const std::string &line : ReportLines(report))
            if (line.compare(0, 5, "LEFT ") == 0)
                left.push_back(line.substr(5));
        for (const std::string &named : q.left)
            EXPECT_NE(left.end(), std::find(left.begin(), left.end(), named)) << q.what << ": " << named;
        RestartWithWineboot();
        if (q.tidy)
            q.tidy();
        EXPECT_EQ(before, Registry() + Files(Dest)) << q.what;
        EXPECT_EQ(attributes, GetFileAttributesA(ini.c_str())) << q.what << ": its attributes";
        if (q.left.empty())
            EXPECT_EQ(std::vector<std::string>(), left) << q.what;
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(Win("\\system.bak").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(Win("\\system.bak").c_str());
        DeleteFileA(Win("\\wininit.bak").c_str());
        RemoveTree(Dest);   // what a row made there before the installation
    }
}

}  // namespace
