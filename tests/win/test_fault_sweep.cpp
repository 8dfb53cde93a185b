// The fault sweep: each scenario runs the fault build of the programs once to count
// the calls that touch the machine, then once per call with that call failing, alone
// (a passing fault: a question is answered Retry), with every later one of its kind
// (the disk or the registry gone: Cancel), or with the power cut there (the program
// ends at once). After each run the machine is checked, the install log must name
// every change on it, and the way back is taken and checked. FAULT_EVERY=k runs every
// k-th call only.
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <set>
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

enum Mode { ONCE, ALWAYS, CUT };
const char *const ModeNames[] = {", once", ", from then on", ", power cut"};
const DWORD CutExitCode = 99;   // the fault layer's, for a process ended at the cut

struct Tally {
    int points = 0, held = 0;
    ~Tally()
    {
        printf("fault sweep: %d points in 6 scenarios and 3 modes, %d held every check\n",
               points, held);
    }
} Sweep;

// What an install log names: its records' fields, upper-cased, by kind.
struct LogNames {
    bool found = false;
    std::set<std::string> keys, values, files, kinds;
    std::set<std::string> writing;   // files named as being written: no PLACED yet
};

std::string Upper(std::string text)
{
    CharUpperBuffA(&text[0], (DWORD)text.size());
    return text;
}

// A record's fields, '\t' apart, each "%XX" a byte.
std::vector<std::string> LogFields(const std::string &line)
{
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); i++) {
        if (line[i] == '\t')
            fields.emplace_back();
        else if (line[i] == '%' && i + 2 < line.size())
            fields.back() += (char)strtol(line.substr(i + 1, 2).c_str(), nullptr, 16), i += 2;
        else
            fields.back() += line[i];
    }
    return fields;
}

LogNames ReadLogNames(const std::string &path)
{
    LogNames names;
    std::string text = ReadWholeFile(path);
    names.found = !text.empty();
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        std::vector<std::string> f = LogFields(text.substr(at, end - at));
        names.kinds.insert(f[0]);
        if (f[0] == "KEY" && f.size() > 2)
            names.keys.insert(Upper(f[2]));
        else if (f[0] == "VALUE" && f.size() > 3)
            names.values.insert(Upper(f[2] + "|" + f[3]));
        else if ((f[0] == "FILE" || f[0] == "TEMP" || f[0] == "DIR") && f.size() > 1)
            names.files.insert(Upper(f[1]));
        if (f[0] == "FILE" && f.size() > 3 && !f[3].empty())
            names.files.insert(Upper(f[3]));
        if (f[0] == "FILE" && f.size() > 1)
            names.writing.insert(Upper(f[1]));
        else if (f[0] == "PLACED" && f.size() > 1)
            names.writing.erase(Upper(f[1]));
    }
    return names;
}

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
    // What setup and the uninstaller change, but for the two values the driver-only
    // mode leaves as they are (README: what it cannot put back).
    // Directories are left out: one that held a file in use stays, empty, after the
    // restart that deletes the file (WININIT.INI deletes files only).
    std::string State()
    {
        std::string files;
        for (const std::string &line : Lines(Files(Dest)))
            if (line.compare(0, 12, "KXSETUP.LOG ") == 0)
                files += "KXSETUP.LOG\n";   // there, whatever its length: one more record
                                            // for each retry, or an earlier run's carried on
            else if (line.empty() || line.back() != '\\')
                files += line + "\n";
        return Registry({"ConfigFlags", "MouseType"}) + files + ReadWholeFile(medium_ + "\\SETUP.INF");
    }

    // Each key and value of the registry the programs touch, and each file: what the
    // install log must name when it differs from the start.
    std::set<std::string> MachineItems()
    {
        std::set<std::string> items;
        std::string key;
        for (const std::string &line : Lines(Registry() + "\n")) {
            std::string l = line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
            if (l.size() > 2 && l[0] == '[')
                items.insert("K " + Upper(key = l.substr(1, l.size() - 2)));
            else if (l.size() > 1 && (l[0] == '@' || l[0] == '"'))
                items.insert("V " + Upper(key + "|" + (l[0] == '@' ? "" : l.substr(1, l.find('"', 1) - 1))) +
                             "\t" + l);
        }
        for (const std::string &line : Lines(FileTree(Dest)))
            if (!line.empty() && line.back() != '\\' && line.find("KXSETUP.LOG") != 0)
                items.insert("F " + Upper(std::string(Dest) + "\\" + line.substr(0, line.rfind(' '))) +
                             "\t" + line);
        for (const char *f : {"\\SYSTEM\\KXMOUSE.VXD", "\\INF\\KXMOUSE.INF", "\\KXMOUSE.INI"})
            if (GetFileAttributesA(Win(f).c_str()) != INVALID_FILE_ATTRIBUTES)
                items.insert("F " + Upper(Win(f)) + "\t" + ReadWholeFile(Win(f)).substr(0, 40));
        items.insert("I " + ReadWholeFile(Win("\\system.ini")));
        items.insert("A " + ReadWholeFile(VxdBak()));
        return items;
    }
    // Every change since start that the install log does not name.
    LogNames TheLog()
    {
        LogNames log = ReadLogNames(std::string(Dest) + "\\KXSETUP.LOG");
        return log.found ? log : ReadLogNames(Win("\\KXSETUP.LOG"));
    }
    std::string Unlogged(const std::set<std::string> &start)
    {
        LogNames log = TheLog();
        std::set<std::string> now = MachineItems(), changed;
        for (const std::string &item : now)
            if (!start.count(item))
                changed.insert(item);
        for (const std::string &item : start)
            if (!now.count(item))
                changed.insert(item);
        std::string problems;
        for (const std::string &item : changed) {
            std::string name = item.substr(2, item.find('\t') - 2);
            bool named = item[0] == 'K'   ? log.keys.count(name) > 0
                         : item[0] == 'V' ? log.values.count(name) > 0
                         : item[0] == 'F' ? log.files.count(name) > 0
                         : item[0] == 'I' ? log.kinds.count("INI") > 0
                                          : log.kinds.count("ASIDE") > 0;
            if (!named && problems.find(name) == std::string::npos)
                problems += " the log does not name " + name.substr(0, 120) + ";";
        }
        return problems;
    }

    // Windows' next start: WININIT.INI carried out.
    void Restart()
    {
        if (Win98Answers())
            EXPECT_EQ("", TakeLinesWininitCannotDo()) << "lines of WININIT.INI Windows 95/98 cannot carry out";
        for (const std::string &line : Lines(Wininit())) {
            std::string target = line.substr(0, line.find('=')), source = line.substr(line.find('=') + 1);
            DeleteFileA((target == "NUL" ? source : target).c_str());
            if (target != "NUL")
                MoveFileA(source.c_str(), target.c_str());
        }
        DeleteFileA(Win("\\WININIT.INI").c_str());
    }

    // One run of the program the scenario puts faults into, at point (0: none).
    Outcome Run(long point, Mode mode, std::string *failed = nullptr)
    {
        const Scenario &s = GetParam();
        bool always = mode == ALWAYS;
        DeleteFileA(Log);
        SetEnvironmentVariableA("FAULT_LOG", Log);
        SetEnvironmentVariableA("FAULT_AT", point ? std::to_string(point).c_str() : nullptr);
        SetEnvironmentVariableA("FAULT_MODE", mode == ALWAYS ? "always" : mode == CUT ? "cut" : "once");
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
        size_t calls = log.find("calls ");   // none: cut short, or it never ran
        calls_ = calls == std::string::npos ? 0 : atol(log.c_str() + calls + 6);
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
        Outcome clean = Run(0, ONCE);
        Restart();
        return clean;
    }

    // Everything that must hold after a run with a fault; the problems found.
    std::string Check(const Outcome &o, const Outcome &clean, const std::string &start,
                      const std::string &end, const std::set<std::string> &startItems, Mode mode)
    {
        const Scenario &s = GetParam();
        bool cut = mode == CUT && o.exitCode == CutExitCode;
        if (!cut && (o.exitCode == (DWORD)-1 || o.exitCode > (s.uninstaller ? 3u : 0u)))
            return " crashed or hung (exit code " + std::to_string((long)o.exitCode) + ")";
        std::string problems = PartialFiles();
        if (std::string(s.args) != "-u" && !s.uninstaller)
            problems += Unlogged(startItems);
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
        if (cut)
            return problems + AfterTheCut(clean, start, end);
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
    // Files of the destination under their own names, not as long as the package's,
    // that the log does not name as being written.
    std::string PartialFiles()
    {
        std::set<std::string> writing = TheLog().writing;
        std::map<std::string, std::string> sizes;
        for (const std::string &line : Lines(FileTree(DirFromEnvironment("SAMPLE"))))
            sizes[line.substr(0, line.rfind(' '))] = line;
        sizes["UNINSTAL.EXE"] = "UNINSTAL.EXE " + std::to_string(ReadWholeFile(medium_ + "\\FUNINST.EXE").size());
        std::string problems;
        for (const std::string &line : Lines(FileTree(Dest))) {
            std::string name = line.substr(0, line.rfind(' '));
            if (sizes.count(name) && sizes[name] != line && name != "SETUP.INF" &&
                !writing.count(Upper(std::string(Dest) + "\\" + name)))
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
        Outcome again = Run(0, ONCE);
        Restart();
        return again == clean && State() == end ? "" : " a fresh run after it did not end as a clean run" + Differing(end);
    }
    // After the power came back (Windows started again): setup run again ends installed
    // as a clean run does, and its uninstall entry brings the machine back; or, where
    // setup refuses, the uninstall entry brings it back and setup then runs as clean.
    // An uninstaller cut short is run again and ends as a clean uninstall.
    std::string AfterTheCut(const Outcome &clean, const std::string &start, const std::string &end)
    {
        const Scenario &s = GetParam();
        if (s.uninstaller) {
            std::string own = std::string(Dest) + "\\UNINSTAL.EXE";
            if (GetFileAttributesA(own.c_str()) != INVALID_FILE_ATTRIBUTES) {
                DWORD code = RunAnswering("", own + " -s", "C:\\", {}, 30000, nullptr).exitCode;
                Restart();
                // 1: cut as it noted its own deletion, it stays alone (README: what it
                // cannot put back)
                std::string now = State(), left = "\nUNINSTAL.EXE " + std::to_string(FileSize(own));
                if (code == 1 && now.find(left) != std::string::npos)
                    now.erase(now.find(left), left.size());
                return now == end ? "" : " the uninstaller run again did not end as a clean one" + Differing(end);
            }
            return State() == end ? "" : " the uninstaller run again did not end as a clean one" + Differing(end);
        }
        Outcome again = Run(0, ONCE);
        Restart();
        if (!(again == clean) || State() != end)
            return WayBack(clean, start, end);
        std::string command = Uninstaller();
        if (command.empty())
            return "";
        RunAnswering("", command + " -s", "C:\\", {}, 30000, nullptr);
        Restart();
        return State() == start ? "" : " installed again, it could not be removed" + Differing(start);
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
    std::set<std::string> startItems = MachineItems();
    Outcome clean = CleanRun();
    long calls = calls_;
    std::string end = State();
    ASSERT_GT(calls, 0) << "the fault build counted nothing";
    for (Mode mode : {ONCE, ALWAYS, CUT})
        for (long point = first; point <= calls && point <= last; point += every) {
            Reset();
            if (s.uninstaller)
                RunSetup("", nullptr);
            std::string failed;
            std::string problems = Check(Run(point, mode, &failed), clean, start, end, startItems, mode);
            Sweep.points++;
            Sweep.held += problems.empty();
            if (!problems.empty())
                ADD_FAILURE() << "failed point: " << s.name << ModeNames[mode] << ", point " << point
                              << " (" << failed << "):" << problems;
        }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, FaultSweep, ::testing::ValuesIn(Scenarios));

}  // namespace
