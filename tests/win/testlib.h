// Helpers for the Windows-side tests: setup scripts beside the program or in a
// scratch directory, registry keys, saved files, import patches, and running
// SETUP.EXE with its message boxes read from outside.
#ifndef TESTLIB_H
#define TESTLIB_H

#include <windows.h>
#include <string>
#include <vector>
#include <functional>
#include <memory>
#include <gtest/gtest.h>
#include "shared/setup_state.h"

// The texts the program shows and the registry keys it writes, as its requirements
// state them (never taken from the program's own tables).
const char ReadErrorText[] = "SETUP.INF Reading error !";
const char OtherMouseText[] = "Setup have detected another mouse program in your system.\n"
                              "Please remove it from your system first !";
const char WrongPlatformText[] = "This  Mouse Setup Program is for Windows 95/98 only !";
const char AbortText[] = "Orvel installation is not completed !";
const char CannotCreateText[] = "Can not create directory !\nThe specified directory is either "
                                "invalid or disk drive is write protected.";
const char NoSpaceText[] = "There is no enough free space in the specified disk drive !";
const char DirExistsText[] = "The specified directory already exists !\n"
                             "Do you still want to install into this directory ?";
const char DriverDoneText[] = "The Mouse Setup Program has installed driver successfully. "
                              "You have to restart your Windows now !";
const char ClsidKey[] = "CLSID\\{7A3C91D2-5E48-11d2-9C6D-2B81E4F0A537}";
const char HandlersKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse"
                           "\\shellex\\PropertySheetHandlers";
const char RunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char UninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZennoMouse";
const char ControlsMouse[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse";
const char ClassMouseKey[] = "System\\CurrentControlSet\\Services\\Class\\Mouse";
const char OwnNodeKey[] = "Enum\\Root\\OrvelMouse\\0000";
const char LiveListKey[] = "Config Manager\\Enum";

// Directory of the running test program, without trailing backslash.
std::string ProgramDir();

// Writes text as SETUP.INF into dir (beside the test program when dir is empty).
void WriteSetupInf(const std::string &text, const std::string &dir = "");
void RemoveSetupInf(const std::string &dir = "");

// A scratch directory under C:\t, removed with its files when the object goes.
class ScratchDir {
public:
    explicit ScratchDir(const char *name);
    ~ScratchDir();
    const std::string &Path() const { return path_; }
private:
    std::string path_;
};
// The entries a pattern ("C:\\X\\*", "C:\\X\\*.TMP") finds, without "." and "..".
struct DirEntry {
    std::string name;
    bool isDir;
    DWORD size;
};
std::vector<DirEntry> ListDir(const std::string &pattern);
void RemoveTree(const std::string &path);
void CopyTree(const std::string &from, const std::string &to);
// A directory named by an environment variable holding a Unix path, as a Windows path.
std::string DirFromEnvironment(const char *variable);

// Registry helpers; keys are created non-volatile.
void SetRegText(HKEY root, const std::string &key, const char *name, const std::string &value);
std::string GetRegText(HKEY root, const std::string &key, const char *name);
void DeleteRegTree(HKEY root, const std::string &key);

// Keeps a file's content (or its absence) and puts it back when the object goes.
class SavedFile {
public:
    explicit SavedFile(const std::string &path);
    ~SavedFile();
private:
    std::string path_, content_;
    bool existed_;
};
std::string ReadWholeFile(const std::string &path);
// The lines of a text file with CRLF line ends, as SETUP.EXE's run report has them.
std::vector<std::string> ReportLines(const std::string &path);
// How many files match the pattern (a directory and a wildcard name, "C:\\X\\*.TMP").
int CountMatching(const std::string &pattern);
void WriteWholeFile(const std::string &path, const std::string &content);

// Keeps the names of every key below the keys an installation writes to (the product's
// keys, HKLM\Enum, the mouse class keys, the test's own Software\OrvelTest) and whether
// the Run value exists; when it goes (or at Restore), every key made since and a Run
// value that was not there are deleted again, and nothing else.
class RegistryGuard {
public:
    RegistryGuard();
    ~RegistryGuard() { Restore(); }
    // Deletes what was made since the guard was made; the guard stays.
    void Restore();
private:
    std::vector<std::string> keys_;
    bool runValue_;
};

// A device in the live list (HKEY_DYN_DATA), deleted again when the object goes.
class LiveDevice {
public:
    LiveDevice(const char *name, const std::string &hardwareKey);
    ~LiveDevice();
private:
    std::string name_;
};

// Keeps system.ini, system.new, system.bak, WININIT.INI, wininit.bak and
// VMM32\VMOUSE.VXD/.BAK of the prefix as they are and puts them back when the object goes.
class SystemFilesGuard {
public:
    SystemFilesGuard();
private:
    std::vector<std::unique_ptr<SavedFile>> saved_;
};
std::string WindowsDirectory();
std::string SystemDirectory();

// A hidden window of the test that counts the end-of-session questions Wine's restart
// (ExitWindowsEx) sends to every program, and declines them, so that the test program
// is not ended with the session; Restarts() waits up to ms for the first.
class SessionEndWatch {
public:
    SessionEndWatch();
    ~SessionEndWatch();
    int Restarts(DWORD ms = 0);
    // The count once no restart can still be under way: to be asked after the program
    // has ended (Wine's restart runs as wineboot.exe, started before the call returns).
    int RestartsSettled();
    void Reset();
private:
    HWND window_;
};

// Back to the start values, as a fresh process has them, with the file table freed.
void ResetSetupState();

// Replaces one imported function of the test program while the object lives.
class ImportPatch {
public:
    ImportPatch(const char *dll, const char *function, void *replacement);
    ~ImportPatch();
    bool Applied() const { return slot_ != 0; }
    void *Original() const { return original_; }
private:
    void **slot_;
    void *original_;
};

// Message boxes shown through the patched MessageBoxA: every call is logged and
// answered with `answer`.
struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT style;
    bool quitPending = false;   // a quit request was queued: a real box would end at once
};
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    const std::vector<MessageBoxCall> &Calls() const;
    void Answer(int answer);
    // Each box is answered by this instead (it may change the machine first).
    void Answer(std::function<int(const MessageBoxCall &)> answer);
    void Clear();
private:
    ImportPatch patch_;
};

// SETUP.EXE as built, copied into dir under name; run with args. Its pages are driven
// by steps as the PageDriver does, from outside (actions post, they cannot send).
// Every message box it shows is read (text, caption, and its buttons as the MB_ style
// in `style`) and answered by `answer` with a button id, or else with OK (Cancel when
// it has no OK). The exit code is -1 when it had not ended within timeoutMs.
using BoxAnswer = std::function<int(const MessageBoxCall &)>;
struct SetupRun {
    DWORD exitCode = (DWORD)-1;
    std::vector<MessageBoxCall> boxes;
    size_t stepsDone = 0;
    std::vector<std::string> windows;   // classes of the visible windows seen, once each
};
struct ExternalStep {
    const char *cls;
    std::function<void(HWND)> act;
    bool again = false;   // may act on the window the previous step acted on
    size_t afterBoxes = 0; // acts only once that many message boxes were answered
};
std::string BuiltSetupExe();
// A program run from outside: exe with the whole command line commandLine, started in dir
// (an empty exe: the program the command line names, found as Windows finds it).
SetupRun RunProgram(const std::string &exe, const std::string &commandLine, const std::string &dir,
                    std::vector<ExternalStep> steps = {}, DWORD timeoutMs = 20000,
                    BoxAnswer answer = nullptr);
// A program run whose pages are answered as they come, as a user would: act on a
// page of the class when it shows, again when it is still there after a message box
// (it refused to go on). No failure is added when the program does not end: its exit
// code is then -1. stepsDone counts the pages acted on.
struct PageAnswer {
    const char *cls;
    std::function<void(HWND)> act, again;
};
SetupRun RunAnswering(const std::string &exe, const std::string &commandLine,
                      const std::string &dir, const std::vector<PageAnswer> &pages,
                      DWORD timeoutMs, BoxAnswer answer);
// Waits until the window's thread takes messages again (it has finished what it was
// doing when the call came); false when it did not within ms.
bool WaitUntilIdle(HWND window, DWORD ms = 10000);
// A file of the test media (tests/make-media.sh), as a Windows path.
std::string MediaFile(const std::string &name);
SetupRun RunSetupExe(const std::string &dir, const char *name, const char *args,
                     std::vector<ExternalStep> steps = {}, DWORD timeoutMs = 20000,
                     BoxAnswer answer = nullptr);
// The same for any built program (SETUP.EXE, UNINSTAL.EXE), copied into dir under name;
// with built empty, the program already there is run.
SetupRun RunBuiltProgram(const std::string &built, const std::string &dir, const char *name,
                         const char *args, std::vector<ExternalStep> steps = {},
                         DWORD timeoutMs = 20000, BoxAnswer answer = nullptr);
// A click posted to a button of another process.
void PostClick(HWND page, int id);
// That click as the step for a page of the class.
ExternalStep Press(const char *cls, int id, bool again = false);
// The whole wizard with the defaults, or with dest typed as the destination, to its
// finish page and "restart later" (not there with toFinish false: a cancelled copy).
std::vector<ExternalStep> WizardSteps(const char *dest = nullptr, bool toFinish = true);

// The rig's Windows 95/98 answers (tests/win98): on when WIN98_ANSWERS is set, and the
// programs the tests run are then copies whose imports name W9X.DLL. Its switches and
// its log live in C:\W9XRIG.
bool Win98Answers();
const char Win98Rig[] = "C:\\W9XRIG";
// What W9X.LOG holds (what Windows 95/98 would not have let pass), the log emptied.
std::string TakeWin98Log();
// The time zone's bias in force for the programs started from now on, in minutes
// (-60: the clock moved on to daylight saving time); 0 takes the switch away.
void SetWin98Bias(int minutes);
// Drive A: with no disk in it (true), or with one (false).
void SetFloppyNotReady(bool notReady);
// The [rename] lines of WININIT.INI that Windows 95/98's WININIT.EXE cannot carry out
// (a name that is not 8.3, a rename across drives), each taken out of the file; one a
// line, empty when there is none.
std::string TakeLinesWininitCannotDo();

// A system.ini as Windows 98 has it, with its mouse line.
const char Win98Ini[] = "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nebios=*ebios\r\n"
                        "mouse=*vmouse, msmouse.vxd\r\n";
const char DefaultDest[] = "C:\\ORVEL";

// Tests of the real programs on the sample medium, copied to medium_: system.ini is
// Windows 98's and VMM32 holds a stock VMOUSE.VXD; what an installation leaves in the
// default destination, the destinations the test names and the Windows directories
// is removed before and after, as are its registry entries.
class SampleMediumTest : public ::testing::Test {
protected:
    SampleMediumTest(const char *medium, std::vector<std::string> destinations = {})
        : medium_(medium), destinations_(std::move(destinations)) {}
    void SetUp() override;
    void TearDown() override
    {
        RemoveInstalled();
        RemoveTree(medium_);
        if (Win98Answers())
            EXPECT_EQ("", TakeWin98Log()) << "what Windows 95/98 would not have let pass";
    }
    void RemoveInstalled();
    // The wizard of WizardSteps on the medium's SETUP.EXE.
    SetupRun Install(const char *dest = nullptr, BoxAnswer answer = nullptr);
    static std::string Sample(const std::string &name);
    static std::string Win(const char *name) { return WindowsDirectory() + name; }
    static std::string Vxd() { return SystemDirectory() + "\\VMM32\\VMOUSE.VXD"; }
    static std::string VxdBak() { return SystemDirectory() + "\\VMM32\\VMOUSE.BAK"; }
    // The registry keys setup writes to, REGEDIT4-like.
    static std::string Registry(const std::vector<std::string> &leaveOut = {});
    // system.ini, the stock mouse driver and the files setup writes outside the
    // destination, with the tree of the destination.
    static std::string Files(const std::string &dest);
    // The [rename] lines of WININIT.INI, one a line.
    static std::string Wininit();

    std::string medium_;
    std::vector<std::string> destinations_;
    SystemFilesGuard systemFiles_;
    RegistryGuard registry_;
    SessionEndWatch session_;
};

#endif

// Drives pages from inside the test process: a thread timer runs each step's action
// on the first visible window of this process with the step's class (and, for a
// dialog box, title) that is not the window the previous step acted on, unless the
// step says `again`. Steps run in order; the driver fails the test when a step's
// window does not appear within stepTimeoutMs, and then cancels what is showing.
struct PageStep {
    const char *cls;
    std::function<void(HWND)> act;
    bool again = false;
    const char *title = nullptr;
};
class PageDriver {
public:
    explicit PageDriver(std::vector<PageStep> steps, DWORD stepTimeoutMs = 10000);
    ~PageDriver();
    size_t StepsLeft() const { return steps_.size() - next_; }
private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<PageStep> steps_;
    size_t next_ = 0;
    HWND last_ = 0;
    DWORD waitingSince_;
    DWORD stepTimeoutMs_;
    UINT_PTR timer_;
};

// A visible top-level window of a process with that class (and title, when given).
HWND FindProcessWindow(DWORD pid, const char *cls, const char *title = nullptr, HWND except = 0);
HWND FindOwnWindow(const char *cls, const char *title = nullptr, HWND except = 0);
// A button click as the user makes it (BM_CLICK, synchronous).
void Click(HWND page, int id);
std::string ItemText(HWND window, int id);
std::string WindowText(HWND window);

// UNINSTAL.EXE as built (UNINSTAL_EXE), as a Windows path.
std::string BuiltUninstallExe();

// A key with its values and subkeys in REGEDIT4 form, subkeys and values in name order
// (the order of their making does not show); values named in leaveOut are not shown.
// Empty when the key does not exist.
std::string RegistryDump(HKEY root, const std::string &key,
                         const std::vector<std::string> &leaveOut = {});

// Every directory and file below dir, one "relative\path size" line each (directories
// end in a backslash), in name order. Empty when dir does not exist.
std::string FileTree(const std::string &dir);

// Wine's restart: "wineboot -r" carries out WININIT.INI (and leaves it as wininit.bak),
// as Windows 98 does at its next start. Waits for it to end.
void RestartWithWineboot();
