// The fault sweep: each scenario runs the fault build of the programs once to count
// the calls that touch the machine, then once per call with that call failing, alone
// (a passing fault: a question is answered Retry) or with every later one of its kind
// (the disk or the registry gone: Cancel). After each run the machine is checked, and
// the way back is taken and checked. FAULT_EVERY=k runs every k-th call only.
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include "testlib.h"
#include "resource.h"

namespace {

const char Dest[] = "C:\\ORVEL";
const char Log[] = "C:\\t\\fault.log";
const char OlderIni[] = "another program's KXMOUSE.INI";
const char Patched[] = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\nmouse=*vmouse\r\n";

struct Scenario {
    const char *name;
    bool uninstaller;   // the faults go into the uninstaller, after a clean setup run
    const char *args;   // of SETUP.EXE
    bool livePs2;       // a detected PS/2 mouse, and another program's KXMOUSE.INI
    bool cancel;        // KXMOUSE.VX_ is missing: the copy is cancelled at its question
};
const Scenario Scenarios[] = {
    {"install", false, "", false, false},
    {"install over a PS/2 mouse", false, "", true, false},
    {"driver only", false, "-u", true, false},
    {"cancelled copy", false, "", false, true},
    {"uninstall", true, "", true, false},
    {"uninstall after a cancelled copy", true, "", false, true},
};

struct Tally {
    int points = 0, held = 0;
    ~Tally()
    {
        printf("fault sweep: %d points in 6 scenarios and 2 modes, %d held every check\n",
               points, held);
    }
} Sweep;

// What a run showed: the pages it got through, the boxes not answered Retry, its code.
struct Outcome {
    size_t pages = 0;
    std::vector<std::string> boxes;
    DWORD exitCode = 0;
    bool operator==(const Outcome &o) const
    {
        return pages == o.pages && boxes == o.boxes && exitCode == o.exitCode;
    }
};

class FaultSweep : public SampleMediumTest, public ::testing::WithParamInterface<Scenario> {
protected:
    FaultSweep() : SampleMediumTest("C:\\t\\fault") {}
    void SetUp() override
    {
        SampleMediumTest::SetUp();
        ASSERT_TRUE(CopyFileA(DirFromEnvironment("FAULT_SETUP").c_str(),
                              (medium_ + "\\SETUP.EXE").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(DirFromEnvironment("FAULT_UNINSTAL").c_str(),
                              (medium_ + "\\FUNINST.EXE").c_str(), FALSE));
        script_ = ReadWholeFile(medium_ + "\\SETUP.INF");
        size_t at = script_.find("UNINSTAL.EX_,");
        ASSERT_NE(std::string::npos, at);
        script_.replace(at, 13, "FUNINST.EXE,");
        vxd_ = ReadWholeFile(medium_ + "\\SYSTEM\\KXMOUSE.VX_");
    }
    void TearDown() override
    {
        live_.reset();
        DeleteFileA((Win("\\WININIT.INI")).c_str());
        DeleteFileA(Log);
        SampleMediumTest::TearDown();
    }

    // The machine as each run finds it.
    void Reset()
    {
        const Scenario &s = GetParam();
        live_.reset();
        RemoveInstalled();
        WriteWholeFile(Win("\\system.ini"), Win98Ini);
        WriteWholeFile(Vxd(), "stock VMOUSE.VXD");
        for (const std::string &f : {Win("\\system.bak"), Win("\\system.new"), VxdBak(),
                                     Win("\\WININIT.INI"), Win("\\wininit.bak")})
            DeleteFileA(f.c_str());
        WriteWholeFile(medium_ + "\\SETUP.INF", script_);
        // What every Windows 98 has: the Mouse control panel's list of pages, the root
        // enumerator's key and the mouse class.
        HKEY handlers;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, HandlersKey, 0, 0, 0, KEY_ALL_ACCESS, 0, &handlers, 0);
        RegCloseKey(handlers);
        SetRegText(HKEY_LOCAL_MACHINE, "Enum\\Root\\*PNP0C01\\0000", "Class", "System");
        SetRegText(HKEY_LOCAL_MACHINE, ClassMouseKey, "", "Mouse");
        WriteWholeFile(medium_ + "\\SYSTEM\\KXMOUSE.VX_", vxd_);
        if (s.cancel)
            DeleteFileA((medium_ + "\\SYSTEM\\KXMOUSE.VX_").c_str());
        if (s.livePs2) {
            live_.reset(new LiveDevice("C29AFA01", "BIOS\\*PNP0F13\\0000"));
            SetRegText(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0F13\\0000", "DeviceDesc", "Standard PS/2 Port Mouse");
            SetRegText(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0F13\\0000", "Driver", "Mouse\\0000");
            SetRegText(HKEY_LOCAL_MACHINE, std::string(ClassMouseKey) + "\\0000", "MouseDriver", "mouse.drv");
            WriteWholeFile(Win("\\KXMOUSE.INI"), OlderIni);
        }
    }
    // What setup and the uninstaller change, but for the two values the uninstaller
    // leaves as they are (README: what it cannot put back).
    // Directories are left out: one that held a file in use stays, empty, after the
    // restart that deletes the file (WININIT.INI deletes files only).
    std::string State()
    {
        std::string files;
        for (const std::string &line : Lines(Files(Dest)))
            if (line.empty() || line.back() != '\\')
                files += line + "\n";
        return Registry({"ConfigFlags", "MouseType"}) + files + ReadWholeFile(medium_ + "\\SETUP.INF");
    }

    // Windows' next start: WININIT.INI carried out.
    void Restart()
    {
        for (const std::string &line : Lines(Wininit())) {
            std::string target = line.substr(0, line.find('=')), source = line.substr(line.find('=') + 1);
            DeleteFileA((target == "NUL" ? source : target).c_str());
            if (target != "NUL")
                MoveFileA(source.c_str(), target.c_str());
        }
        DeleteFileA(Win("\\WININIT.INI").c_str());
    }

    // One run of the program the scenario puts faults into, at point (0: none).
    Outcome Run(long point, bool always, std::string *failed = nullptr)
    {
        const Scenario &s = GetParam();
        DeleteFileA(Log);
        SetEnvironmentVariableA("FAULT_LOG", Log);
        SetEnvironmentVariableA("FAULT_AT", point ? std::to_string(point).c_str() : nullptr);
        SetEnvironmentVariableA("FAULT_MODE", always ? "always" : "once");
        BoxAnswer answer = [&s, always](const MessageBoxCall &box) {
            if (box.style != MB_RETRYCANCEL)
                return IDOK;   // a notice, or "the directory exists: go on"
            return always || (s.cancel && box.text.find("KXMOUSE.VX_") != std::string::npos)
                       ? IDCANCEL : IDRETRY;
        };
        SetupRun run = s.uninstaller ? RunAnswering("", Uninstaller() + " -s", "C:\\", {}, 30000, answer)
                                     : RunSetup(s.args, answer);
        SetEnvironmentVariableA("FAULT_AT", nullptr);
        SetEnvironmentVariableA("FAULT_LOG", nullptr);
        std::string log = ReadWholeFile(Log);
        if (failed)
            *failed = log.substr(0, log.find('\r'));
        calls_ = atol(log.substr(log.find("calls ") + 6).c_str());
        Outcome o{run.stepsDone, {}, run.exitCode};
        for (const MessageBoxCall &box : run.boxes)   // what the user had to be told
            if (!(box.style == MB_RETRYCANCEL && answer(box) == IDRETRY) && box.text != DirExistsText)
                o.boxes.push_back(box.text);
        return o;
    }
    SetupRun RunSetup(const char *args, BoxAnswer answer)
    {
        auto next = [](HWND page) { PostClick(page, IDC_NEXT); };
        auto cancel = [](HWND page) { PostClick(page, IDC_CANCEL); };
        auto finish = [](HWND page) {
            PostClick(page, IDC_REBOOTLATER);
            PostClick(page, IDC_NEXT);
        };
        return RunAnswering(medium_ + "\\SETUP.EXE", "SETUP.EXE " + std::string(args), medium_,
                            {{"SETUP_BEGIN", next, cancel}, {"SETUP_SELMOUSE", next, cancel},
                             {"SETUP_SELDIR", next, cancel}, {"SETUP_END", finish, finish}},
                            30000, answer);
    }
    // The uninstall entry's command; empty when there is none.
    static std::string Uninstaller()
    {
        std::string command = GetRegText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString");
        return command[0] == '<' ? "" : command;
    }
    Outcome CleanRun()
    {
        Outcome clean = Run(0, false);
        Restart();
        return clean;
    }

    // Everything that must hold after a run with a fault; the problems found.
    std::string Check(const Outcome &o, const Outcome &clean, const std::string &start,
                      const std::string &end)
    {
        const Scenario &s = GetParam();
        if (o.exitCode == (DWORD)-1 || o.exitCode > (s.uninstaller ? 3u : 0u))
            return " crashed or hung (exit code " + std::to_string((long)o.exitCode) + ")";
        std::string problems = PartialFiles();
        if (!SystemIniThere())
            problems += " system.ini is missing, and nothing puts it back;";
        Restart();
        // as Windows reads them at its next start
        std::string ini = ReadWholeFile(Win("\\system.ini"));
        if (ini != Win98Ini && ini != Patched)
            problems += " system.ini is neither the old text nor the new one;";
        if (GetFileAttributesA(Vxd().c_str()) == INVALID_FILE_ATTRIBUTES && ini != Patched)
            problems += " VMOUSE.VXD set aside, system.ini not patched;";
        if (s.livePs2 && ReadWholeFile(Win("\\KXMOUSE.INI")) != OlderIni &&
            ReadWholeFile(std::string(Dest) + "\\REPLACED\\" + WindowsName() + "\\KXMOUSE.INI") != OlderIni)
            problems += " another program's KXMOUSE.INI is lost;";
        if (o == clean)
            return problems + (State() != end ? " it ended as a clean run, with another state" + Differing(end) : "");
        bool told = s.uninstaller ? o.exitCode == 2 : false;
        for (const std::string &box : o.boxes)
            told |= std::find(clean.boxes.begin(), clean.boxes.end(), box) == clean.boxes.end();
        return problems + (told ? "" : " it failed and did not say so;") + WayBack(clean, start, end);
    }
    // system.ini is there, or WININIT.INI puts it back before Windows reads it.
    bool SystemIniThere()
    {
        if (GetFileAttributesA(Win("\\system.ini").c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        for (std::string line : Lines(Wininit())) {
            line = line.substr(0, line.find('='));
            CharUpperA(&line[0]);
            if (line.size() >= 11 && line.compare(line.size() - 11, 11, "\\SYSTEM.INI") == 0)
                return true;
        }
        return false;
    }
    // Files of the destination under their own names, not as long as the package's.
    std::string PartialFiles()
    {
        std::map<std::string, std::string> sizes;
        for (const std::string &line : Lines(FileTree(DirFromEnvironment("SAMPLE"))))
            sizes[line.substr(0, line.rfind(' '))] = line;
        sizes["UNINSTAL.EXE"] = "UNINSTAL.EXE " + std::to_string(ReadWholeFile(medium_ + "\\FUNINST.EXE").size());
        std::string problems;
        for (const std::string &line : Lines(FileTree(Dest))) {
            std::string name = line.substr(0, line.rfind(' '));
            if (sizes.count(name) && sizes[name] != line && name != "SETUP.INF")
                problems += " " + name + " is partial;";
        }
        return problems;
    }
    static std::vector<std::string> Lines(const std::string &text)
    {
        std::vector<std::string> lines;
        for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(text.substr(at, end - at));
        return lines;
    }
    // After a failure: the uninstall entry (of setup) or a second uninstall brings the
    // machine back, and a fresh run of the scenario then ends as a clean run does.
    std::string WayBack(const Outcome &clean, const std::string &start, const std::string &end)
    {
        const Scenario &s = GetParam();
        std::string command = s.uninstaller ? std::string(Dest) + "\\UNINSTAL.EXE" : Uninstaller();
        if (s.uninstaller && GetFileAttributesA(command.c_str()) == INVALID_FILE_ATTRIBUTES)
            return State() != end ? " the uninstaller is gone, the rest not" + Differing(end) : "";
        if (!command.empty()) {
            SetupRun back = RunAnswering("", command + " -s", "C:\\", {}, 30000, nullptr);
            Restart();
            // 1: the failed run had removed all but the uninstaller itself, which stays
            // when the disk failed as it noted its own deletion
            std::string now = State(), left = "\nUNINSTAL.EXE " + std::to_string(FileSize(command));
            if (back.exitCode == 1 && now.find(left) != std::string::npos)
                now.erase(now.find(left), left.size());
            if (back.exitCode > (s.uninstaller ? 1u : 0u) || now != (s.uninstaller ? end : start))
                return " the way back did not bring the machine back (exit code " +
                       std::to_string((long)back.exitCode) + ")" + Differing(s.uninstaller ? end : start);
        }
        if (s.uninstaller)
            return "";
        Outcome again = Run(0, false);
        Restart();
        return again == clean && State() == end ? "" : " a fresh run after it did not end as a clean run" + Differing(end);
    }
    // The first line where the state differs from the one expected.
    std::string Differing(const std::string &expected)
    {
        std::string now = State();
        size_t at = 0;
        while (at < now.size() && at < expected.size() && now[at] == expected[at])
            at++;
        size_t from = expected.rfind('\n', at) == std::string::npos ? 0 : expected.rfind('\n', at) + 1;
        return ": \"" + expected.substr(from, expected.find('\n', at) - from) + "\" is now \"" +
               now.substr(from, now.find('\n', at) - from) + "\";";
    }
    static size_t FileSize(const std::string &path) { return ReadWholeFile(path).size(); }
    static std::string WindowsName()
    {
        std::string win = WindowsDirectory();
        return win.substr(win.rfind('\\') + 1);
    }

    std::string script_, vxd_;
    long calls_ = 0;
    std::unique_ptr<LiveDevice> live_;
};

TEST_P(FaultSweep, EveryFailingCallIsToldAndLeavesAWayBack)
{
    const Scenario &s = GetParam();
    long every = getenv("FAULT_EVERY") ? atol(getenv("FAULT_EVERY")) : 0;
    every = every < 1 ? 1 : every;
    long first = getenv("FAULT_FIRST") ? atol(getenv("FAULT_FIRST")) : 1;
    long last = getenv("FAULT_LAST") ? atol(getenv("FAULT_LAST")) : LONG_MAX;
    Reset();
    if (s.uninstaller)
        ASSERT_EQ(0u, RunSetup("", nullptr).exitCode);   // the clean setup run
    std::string start = State();
    Outcome clean = CleanRun();
    long calls = calls_;
    std::string end = State();
    ASSERT_GT(calls, 0) << "the fault build counted nothing";
    for (bool always : {false, true})
        for (long point = first; point <= calls && point <= last; point += every) {
            Reset();
            if (s.uninstaller)
                RunSetup("", nullptr);
            std::string failed;
            std::string problems = Check(Run(point, always, &failed), clean, start, end);
            Sweep.points++;
            Sweep.held += problems.empty();
            if (!problems.empty())
                ADD_FAILURE() << "failed point: " << s.name << (always ? ", from then on" : ", once")
                              << ", point " << point << " (" << failed << "):" << problems;
        }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, FaultSweep, ::testing::ValuesIn(Scenarios));

}  // namespace
