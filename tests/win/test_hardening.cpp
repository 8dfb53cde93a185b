// Bad input and faults against the real SETUP.EXE: a corpus of bad setup scripts,
// damaged media, system.ini and registry faults. Each run must end by itself with exit
// code 0 (no crash, no hang), show the expected message, and lose no file.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <sstream>
#include "testlib.h"
#include <lzexpand.h>
#include "resource.h"
#include "controller/controller.h"
#include "install/registration.h"
#include "install/system_patch.h"
#include "shared/script_loader.h"

namespace {

const char Bad[] = "C:\\t\\bad";

// What the runs came to, for the figures printed at the end.
struct Tally {
    int cases = 0, crashes = 0, hangs = 0, lost = 0;
} Runs;

void Count(const SetupRun &run)
{
    Runs.cases++;
    if (run.exitCode == (DWORD)-1)
        Runs.hangs++;
    else if (run.exitCode != 0)
        Runs.crashes++;
}


// A case of the corpus: the script, the "; expect:" lines at its top and the
// "; given:" lines that set the machine up for it.
struct Case {
    std::string name, script, title, next = "copy", box;
    std::string asks;                          // a file the copy asks about: its text's start
    std::vector<std::string> exists, absent;   // below the destination (or whole paths)
    std::vector<std::string> loaded;           // FIELD=VALUE as the loader keeps it
    std::vector<std::string> record;           // SECTION|KEY=VALUE in the installed SETUP.INF
    std::vector<std::string> live;             // live devices (and their nodes) to make first
    int files = -1;                            // files below the destination, when given
};

Case ReadCase(const std::string &path, const std::string &name)
{
    Case c;
    c.name = name;
    c.script = ReadWholeFile(path);
    std::istringstream lines(c.script);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        bool given = line.rfind("; given: ", 0) == 0;
        if (line.rfind("; expect: ", 0) != 0 && !given)
            continue;
        std::string what = line.substr(given ? 9 : 10);
        size_t eq = what.find('=');
        std::string key = what.substr(0, eq), value = what.substr(eq + 1);
        if (given)
            c.live.push_back(value);
        else if (key == "exists" || key == "absent")
            (key == "exists" ? c.exists : c.absent).push_back(value);
        else if (key == "loaded" || key == "record")
            (key == "loaded" ? c.loaded : c.record).push_back(value);
        else if (key == "files")
            c.files = std::stoi(value);
        else if (key == "asks")
            c.asks = value;
        else
            (key == "title" ? c.title : key == "next" ? c.next : c.box) = value;
    }
    return c;
}

// A field of the loaded state by the name the corpus uses.
std::string LoadedField(const std::string &name)
{
    const SETUPSTATE &s = SetupState;
    if (name == "ProductName") return s.ProductName;
    if (name == "OfferedDir") return s.OfferedDir;
    if (name == "PnpID") return s.PnpID;
    if (name == "MinimumSpace") return std::to_string(s.MinimumSpace);
    if (name == "DiskCount") return std::to_string(s.DiskCount);
    if (name == "TotalFiles") return std::to_string(s.TotalFiles);
    if (name == "DiskFileCount1") return std::to_string(s.DiskFileCount[0]);
    if (name == "GroupItemCount") return std::to_string(s.GroupItemCount);
    ADD_FAILURE() << "the corpus names an unknown field " << name;
    return "";
}

// The script loaded in this process, from beside the test program, and the fields it
// must have given.
void ExpectLoaded(const Case &c)
{
    WriteSetupInf(c.script);
    ResetSetupState();
    lstrcpyA(SetupState.WindowsDir, WindowsDirectory().c_str());   // as the controller does
    EXPECT_EQ(1, LoadSetupScript()) << c.name;
    for (const std::string &item : c.loaded) {
        size_t eq = item.find('=');
        EXPECT_EQ(item.substr(eq + 1), LoadedField(item.substr(0, eq))) << c.name << ": " << item;
    }
    RemoveSetupInf();
    ResetSetupState();
}

int CountFiles(const std::string &dir)
{
    int n = 0;
    for (const DirEntry &e : ListDir(dir + "\\*"))
        n += e.isDir ? CountFiles(dir + "\\" + e.name) : 1;
    return n;
}

class Hardening : public SampleMediumTest {
protected:
    Hardening() : SampleMediumTest(Bad) {}
    void CleanUp() { RemoveInstalled(); }
    static std::vector<ExternalStep> Walk() { return WizardSteps(); }
    void RunCase(const Case &c)
    {
        std::vector<ExternalStep> steps;
        std::string title;
        if (c.box.empty()) {
            steps = Walk();
            steps[0].act = [&title](HWND page) {
                title = WindowText(page);
                PostClick(page, IDC_NEXT);
            };
            if (c.next != "copy") {   // a message at Next, then Cancel
                steps.pop_back();
                steps.push_back({"SETUP_SELDIR", [](HWND page) { PostClick(page, IDC_CANCEL); },
                                 true, 1});
            }
            if (!c.asks.empty())      // Cancel at the copy's question: no finish page
                steps.pop_back();
        }
        SetupRun run = RunSetupExe(Bad, "SETUP.EXE", "", steps, 60000);   // a question: Cancel
        Count(run);
        EXPECT_EQ(0u, run.exitCode) << c.name << ": crashed or hung";
        if (!c.title.empty())
            EXPECT_EQ(c.title, title) << c.name;
        if (!c.box.empty()) {
            ASSERT_EQ(1u, run.boxes.size()) << c.name;
            EXPECT_EQ(c.box, run.boxes[0].text) << c.name;
        } else if (!c.asks.empty()) {
            ASSERT_EQ(2u, run.boxes.size()) << c.name;
            EXPECT_EQ(0u, run.boxes[0].text.find(c.asks)) << c.name << ": " << run.boxes[0].text;
            EXPECT_EQ((UINT)MB_RETRYCANCEL, run.boxes[0].style) << c.name;
            EXPECT_EQ(AbortText, run.boxes[1].text) << c.name;
        } else if (c.next == "copy") {
            EXPECT_TRUE(run.boxes.empty()) << c.name << ": " << (run.boxes.empty() ? "" : run.boxes[0].text);
        } else {
            ASSERT_EQ(2u, run.boxes.size()) << c.name;
            EXPECT_EQ(c.next == "33" ? CannotCreateText : NoSpaceText, run.boxes[0].text) << c.name;
        }
    }
};

TEST_F(Hardening, CorpusOfBadScripts)
{
    std::string dir = DirFromEnvironment("BAD_INPUT");
    ASSERT_FALSE(dir.empty()) << "BAD_INPUT is not set";
    int cases = 0;
    for (const DirEntry &file : ListDir(dir + "\\*.inf")) {
        Case c = ReadCase(dir + "\\" + file.name, file.name);
        SCOPED_TRACE(c.name);
        if (!c.loaded.empty())
            ExpectLoaded(c);
        std::string ini = ReadWholeFile(WindowsDirectory() + "\\system.ini");
        std::vector<std::unique_ptr<LiveDevice>> devices;
        for (const std::string &hardwareKey : c.live) {
            devices.emplace_back(new LiveDevice(("C29AB" + std::to_string(devices.size())).c_str(),
                                                hardwareKey));
            SetRegText(HKEY_LOCAL_MACHINE, "Enum\\" + hardwareKey, "DeviceDesc", "Detected mouse");
        }
        WriteSetupInf(c.script, Bad);
        RunCase(c);
        std::string out = std::string(Bad) + "\\out";
        auto where = [&out](const std::string &name) {
            return name.size() > 2 && name[1] == ':' ? name : out + "\\" + name;
        };
        for (auto &name : c.exists)
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(where(name).c_str())) << name;
        for (auto &name : c.absent)
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(where(name).c_str())) << name;
        if (c.files >= 0)
            EXPECT_EQ(c.files, CountFiles(out)) << "files below the destination";
        for (const std::string &item : c.record) {
            size_t bar = item.find('|'), eq = item.find('=');
            char value[256];
            GetPrivateProfileStringA(item.substr(0, bar).c_str(), item.substr(bar + 1, eq - bar - 1).c_str(),
                                     "<absent>", value, sizeof value, (out + "\\SETUP.INF").c_str());
            EXPECT_EQ(item.substr(eq + 1), value) << "recorded " << item;
        }
        if (c.next != "copy" || !c.box.empty() || !c.asks.empty())
            EXPECT_EQ(ini, ReadWholeFile(WindowsDirectory() + "\\system.ini")) << "system.ini kept";
        else
            EXPECT_NE("", ReadWholeFile(WindowsDirectory() + "\\system.ini")) << "system.ini there";
        CleanUp();
        RemoveTree(std::string(Bad) + "\\out");
        cases++;
    }
    EXPECT_GE(cases, 16);

    // Binary junk, NUL bytes included, and a value of 100 000 characters on one line.
    std::string junk;
    unsigned seed = 12345;
    for (int i = 0; i < 4096; i++)
        junk += (char)((seed = seed * 1103515245 + 12345) >> 16);
    Case c{"binary junk", junk, "", "copy", ""};
    WriteSetupInf(junk, Bad);
    RunCase(c);
    CleanUp();
    WriteSetupInf("[Main]\r\nMinimumSpace=0\r\n[Startup]\r\nTitle=" + std::string(100000, 't'), Bad);
    RunCase({"a 100 000-character value", "", "", "copy", ""});
}


// What the system's LZ expansion makes of a compressed file's bytes.
std::string Expanded(const std::string &compressed)
{
    WriteWholeFile("C:\\t\\probe.tm_", compressed);
    OFSTRUCT of;
    INT lz = LZOpenFileA((LPSTR) "C:\\t\\probe.tm_", &of, OF_READ);
    std::string out(1 << 20, 0);
    out.resize(lz >= 0 ? std::max(0, LZRead(lz, &out[0], (INT)out.size())) : 0);
    if (lz >= 0)
        LZClose(lz);
    return out;
}

// The compressed file with one bit of its data changed: the same size, other bytes.
std::string FlippedInData(std::string compressed)
{
    std::string good = Expanded(compressed);
    for (size_t i = compressed.size() / 2; i < compressed.size(); compressed[i++] ^= 1) {
        compressed[i] ^= 1;
        std::string e = Expanded(compressed);
        if (e.size() == good.size() && e != good)
            return compressed;
    }
    return "";
}

// A truncated and a corrupted compressed source, each over an older copy of its file
// in the destination: each is asked about by its target. Retry once the good file is
// back takes it; Cancel keeps the older copy whole and leaves no temporary file. A
// source with one bit changed in its data expands to the right size: only its checksum
// tells, and it is asked about as damaged too.
TEST_F(Hardening, DamagedMedia)
{
    std::string mainPath = std::string(Bad) + "\\KXMAIN.EX_", pagePath = std::string(Bad) + "\\KXPAGE.DL_";
    std::string goodMain = ReadWholeFile(mainPath), page = ReadWholeFile(pagePath);
    std::string flippedMain = FlippedInData(goodMain);
    ASSERT_NE("", flippedMain);
    WriteWholeFile(mainPath, goodMain.substr(0, goodMain.size() / 2));
    for (size_t i = 14; i < page.size(); i += 7)
        page[i] = (char)(page[i] * 31 + 7);
    WriteWholeFile(pagePath, page);
    CreateDirectoryA("C:\\ORVEL", 0);
    WriteWholeFile("C:\\ORVEL\\KXMAIN.EXE", "an older KXMAIN.EXE");
    WriteWholeFile("C:\\ORVEL\\KXPAGE.DLL", "an older KXPAGE.DLL");

    std::vector<ExternalStep> steps = Walk();
    steps.pop_back();   // cancelled: no finish page
    int mainAsked = 0;
    SetupRun run = RunSetupExe(Bad, "SETUP.EXE", "", steps, 60000, [&](const MessageBoxCall &box) {
        if (box.text.find("KXMAIN.EXE") != std::string::npos) {
            WriteWholeFile(mainPath, mainAsked++ ? goodMain : flippedMain);
            return IDRETRY;
        }
        return box.text == DirExistsText ? IDOK : IDCANCEL;
    });
    Count(run);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(5u, run.boxes.size());
    EXPECT_EQ(DirExistsText, run.boxes[0].text);
    const std::string damaged = " !\nIts copy on the installation disk is damaged.";
    EXPECT_EQ("Can not expand the file\nC:\\ORVEL\\KXMAIN.EXE" + damaged, run.boxes[1].text);
    EXPECT_EQ("Can not install the file\nC:\\ORVEL\\KXMAIN.EXE !\nIts copy on the installation "
              "disk does not match its checksum: it is damaged.", run.boxes[2].text);
    EXPECT_EQ((UINT)MB_RETRYCANCEL, run.boxes[2].style);
    EXPECT_EQ("Can not expand the file\nC:\\ORVEL\\KXPAGE.DLL" + damaged, run.boxes[3].text);
    EXPECT_EQ((UINT)MB_RETRYCANCEL, run.boxes[3].style);
    EXPECT_EQ(AbortText, run.boxes[4].text);
    EXPECT_EQ(ReadWholeFile(DirFromEnvironment("SAMPLE") + "\\KXMAIN.EXE"), ReadWholeFile("C:\\ORVEL\\KXMAIN.EXE"))
        << "taken whole at Retry";
    EXPECT_EQ("an older KXPAGE.DLL", ReadWholeFile("C:\\ORVEL\\KXPAGE.DLL")) << "kept at Cancel";
    EXPECT_EQ(0, CountMatching("C:\\ORVEL\\*.TMP"));
    Runs.lost += ReadWholeFile("C:\\ORVEL\\KXPAGE.DLL") != "an older KXPAGE.DLL";
}

TEST_F(Hardening, SystemIniThatCannotBeRead)
{
    // system.ini is a directory: nothing can be read, nothing is changed, and the user
    // is told so instead of the finish page.
    std::string ini = WindowsDirectory() + "\\system.ini";
    DeleteFileA(ini.c_str());
    ASSERT_TRUE(CreateDirectoryA(ini.c_str(), 0));
    WriteWholeFile(ini + "\\inside", "kept");
    std::vector<ExternalStep> steps = Walk();
    steps.pop_back();
    SetupRun run = RunSetupExe(Bad, "SETUP.EXE", "", steps, 60000);
    Count(run);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(2u, run.boxes.size());
    EXPECT_NE(std::string::npos, run.boxes[0].text.find(ini)) << run.boxes[0].text;
    EXPECT_EQ(AbortText, run.boxes[1].text);
    EXPECT_EQ("kept", ReadWholeFile(ini + "\\inside"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((WindowsDirectory() + "\\system.new").c_str()));
    RemoveTree(ini);
}

// Registry calls that all fail, as on a registry that refuses the program.
LONG WINAPI RefuseCreate(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                         LPDWORD)
{
    return ERROR_ACCESS_DENIED;
}
LONG WINAPI RefuseOpen(HKEY, LPCSTR, DWORD, REGSAM, PHKEY)
{
    return ERROR_ACCESS_DENIED;
}

TEST(RegistryFaults, RefusedKeysAndMalformedLiveDevices)
{
    RegistryGuard registry;
    ScratchDir dir("regfault");
    ResetSetupState();
    lstrcpyA(SetupState.InstallDir, dir.Path().c_str());
    {
        ImportPatch create("advapi32.dll", "RegCreateKeyExA", (void *)RefuseCreate);
        ImportPatch open("advapi32.dll", "RegOpenKeyExA", (void *)RefuseOpen);
        EXPECT_EQ(0, RegisterMouseDevice(1)) << "it writes nothing and says so";
        EXPECT_EQ(0, RegisterMouseDevice(0));
    }
    EXPECT_EQ(0, IsMouseAppRegistered());
    EXPECT_STREQ("", SetupState.MouseTypeName) << "no road taken blind: the live list was not read";

    // Live devices whose HardWareKey is missing, not text, too long, or of no use.
    std::string list = "Config Manager\\Enum\\";
    struct { const char *name; DWORD type; std::string data; } devices[] = {
        {"C29AF001", REG_BINARY, std::string(500, '\xff')},
        {"C29AF002", REG_DWORD, std::string("\x01\x02\x03\x04", 4)},
        {"C29AF003", REG_SZ, "BIOS\\*PNP0F13\\" + std::string(2000, 'x')},
        {"C29AF004", REG_SZ, std::string("BIOS\\*PNP0F13\\", 14)},   // no terminating NUL
        {"C29AF005", 0, ""},
    };
    struct Gone {   // the devices go again whatever happens
        ~Gone()
        {
            for (char n = '1'; n <= '5'; n++)
                DeleteRegTree(HKEY_DYN_DATA, std::string("Config Manager\\Enum\\C29AF00") + n);
        }
    } gone;
    for (auto &d : devices) {
        HKEY k;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_DYN_DATA, (list + d.name).c_str(), 0, 0,
                                                 REG_OPTION_VOLATILE, KEY_ALL_ACCESS, 0, &k, 0));
        if (d.type)
            RegSetValueExA(k, "HardWareKey", 0, d.type, (const BYTE *)d.data.data(), (DWORD)d.data.size());
        RegCloseKey(k);
    }
    char found[FOUND_SIZE] = "none";
    int matched = 0;
    EXPECT_EQ(1, FindHardwareNode("BIOS\\*PNP0F13\\", found, &matched)) << "the list was read";
    EXPECT_EQ(1, matched) << "only the device that names a node whole matches";
    EXPECT_STREQ("BIOS\\*PNP0F13\\", found);
    // That device has no node under HKEY_LOCAL_MACHINE\Enum: nothing is written and
    // no node of the program's own is made instead.
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    EXPECT_STREQ("PS2", SetupState.MouseTypeName);
    EXPECT_EQ("<no key>", GetRegText(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0F13", "Driver"));
    EXPECT_EQ("<no key>", GetRegText(HKEY_LOCAL_MACHINE, OwnNodeKey, "Driver"));
    ResetSetupState();
}

// Fills drive Q: but for about `room` bytes.
void FillQLeaving(DWORD room)
{
    DeleteFileA("Q:\\FILLER");
    std::string block(1024, 'f');
    HANDLE fill = CreateFileA("Q:\\FILLER", GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    DWORD put = 0;
    while (WriteFile(fill, block.data(), (DWORD)block.size(), &put, 0) && put)
        ;
    DWORD size = GetFileSize(fill, 0);
    SetFilePointer(fill, size > room ? size - room : 0, 0, FILE_BEGIN);
    SetEndOfFile(fill);
    CloseHandle(fill);
}

// On a small drive (Q:, a 256 KB file system that tests/disk-full.sh maps): the copy
// fills it up, and a system.ini rewrite that does not fit leaves system.ini alone.
TEST_F(Hardening, DiskFullDuringCopyAndPatch)
{
    if (GetFileAttributesA("Q:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small drive Q: (run tests/disk-full.sh)";
    RemoveTree("Q:\\ORVEL");
    RemoveTree("Q:\\WIN");
    // room for disk 1's first files (the script, the uninstaller, the mouse application)
    // and the install log's first cluster
    FillQLeaving(28 * 1024 + ((DWORD)ReadWholeFile(BuiltUninstallExe()).size() + 4095) / 4096 * 4096);
    // A drive path in the script moves to the Windows drive: Q: is chosen in the browser.
    std::string script = ReadWholeFile(std::string(Bad) + "\\SETUP.INF");
    script.replace(script.find("MinimumSpace=1024"), 17, "MinimumSpace=0");
    WriteSetupInf(script, Bad);
    std::vector<ExternalStep> steps = Walk();
    steps[2] = Press("SETUP_SELDIR", IDC_BROWSE);
    steps.insert(steps.begin() + 3, {{"#32770", [](HWND browser) {
                                          SetDlgItemTextA(browser, 1003, "Q:\\ORVEL");
                                          PostClick(browser, IDOK);
                                      }},
                                     {"SETUP_SELDIR", [](HWND page) {
                                          for (int i = 0; i < 40 && ItemText(page, IDC_DIRTEXT) != "Q:\\ORVEL"; i++)
                                              Sleep(50);
                                          PostClick(page, IDC_NEXT);
                                      }, true}});
    steps.pop_back();   // the drive fills, Cancel at the question: no finish page
    std::string iniBefore = ReadWholeFile(WindowsDirectory() + "\\system.ini");
    // A file that does not fit is expanded straight into its place: whenever the
    // question is up, what it wrote of it is gone. Retry once (still full), then Cancel.
    std::string leftAtQuestion;
    int asked = 0;
    SetupRun run = RunSetupExe(Bad, "SETUP.EXE", "", steps, 60000, [&](const MessageBoxCall &box) {
        size_t from = box.text.find('\n') + 1, to = box.text.find(" !");
        std::string named = to == std::string::npos ? "" : box.text.substr(from, to - from);
        if (!named.empty() && GetFileAttributesA(named.c_str()) != INVALID_FILE_ATTRIBUTES)
            leftAtQuestion += " " + named;
        return ++asked == 1 ? IDRETRY : IDCANCEL;
    });
    Count(run);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(3u, run.boxes.size());
    EXPECT_EQ(0u, run.boxes[0].text.find("Can not write the file\nQ:\\ORVEL\\")) << run.boxes[0].text;
    EXPECT_NE(std::string::npos, run.boxes[0].text.find(" !\nThe disk may be full, or the file is read-only."));
    EXPECT_EQ(run.boxes[0].text, run.boxes[1].text) << "after Retry, the same file";
    EXPECT_EQ(AbortText, run.boxes[2].text);
    EXPECT_EQ("", leftAtQuestion) << "there at the question";
    EXPECT_EQ(iniBefore, ReadWholeFile(WindowsDirectory() + "\\system.ini")) << "not patched";
    // what was installed before the drive filled is whole; nothing half-written stays
    EXPECT_EQ(ReadWholeFile(DirFromEnvironment("SAMPLE") + "\\KXMAIN.EXE"), ReadWholeFile("Q:\\ORVEL\\KXMAIN.EXE"));
    std::vector<DirEntry> installed = ListDir("Q:\\ORVEL\\*");
    ASSERT_FALSE(installed.empty());
    for (const DirEntry &e : installed) {
        if (e.isDir || e.name == "KXSETUP.LOG")
            continue;   // setup's own log: not one of the package's files
        // the package's files; the script as it was given here
        std::string from = e.name == "SETUP.INF" ? std::string(Bad) : DirFromEnvironment("SAMPLE");
        size_t whole = ReadWholeFile(from + "\\" + e.name).size();
        EXPECT_EQ(whole, e.size) << e.name << " is not whole";
        Runs.lost += whole != e.size;
    }
    EXPECT_EQ(0, CountMatching("Q:\\ORVEL\\*.TMP"));
    // the log names all that is there: the uninstaller takes it all away (but itself,
    // which goes at the next start)
    EXPECT_EQ(0u, RunBuiltProgram("", "Q:\\ORVEL", "UNINSTAL.EXE", "-s").exitCode);
    for (const DirEntry &e : ListDir("Q:\\ORVEL\\*"))
        EXPECT_EQ("UNINSTAL.EXE", e.name) << "left by the uninstaller";

    // system.ini in a Windows directory with room for it once, not twice.
    CleanUp();
    RemoveTree("Q:\\ORVEL");
    ResetSetupState();
    FillQLeaving(60 * 1024);
    CreateDirectoryA("Q:\\WIN", 0);
    std::string ini = "[386Enh]\r\nmouse=*vmd\r\n";
    while (ini.size() < 40 * 1024)
        ini += "; a long comment line that takes room on the small drive\r\n";
    WriteWholeFile("Q:\\WIN\\system.ini", ini);
    ASSERT_EQ(ini.size(), ReadWholeFile("Q:\\WIN\\system.ini").size()) << "set-up: system.ini fits";
    lstrcpyA(SetupState.WindowsDir, "Q:\\WIN");
    PatchSystemIni();
    std::string after = ReadWholeFile("Q:\\WIN\\system.ini");
    EXPECT_TRUE(after == ini) << "system.ini is never lost or emptied: " << after.size()
                              << " bytes of " << ini.size();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("Q:\\WIN\\system.new"));
    Runs.lost += after != ini;
    RemoveTree("Q:\\WIN");
    DeleteFileA("Q:\\FILLER");
}

// The figures of this run, for docs/measurements.md.
class Figures : public ::testing::Environment {
    void TearDown() override
    {
        printf("hardening figures: %d runs of SETUP.EXE on bad input and faults, %d crashes, "
               "%d hangs, %d files lost\n", Runs.cases, Runs.crashes, Runs.hangs, Runs.lost);
        EXPECT_EQ(0, Runs.crashes);
        EXPECT_EQ(0, Runs.hangs);
        EXPECT_EQ(0, Runs.lost);
    }
};
::testing::Environment *const figures = ::testing::AddGlobalTestEnvironment(new Figures);

}  // namespace
