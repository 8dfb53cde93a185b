#include "testlib.h"
#include "install/change_log.h"
#include "regedit4_text.h"
#include "resource.h"
#include "controller/controller.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <tlhelp32.h>

std::string ProgramDir()
{
    char path[MAX_PATH];
    GetModuleFileNameA(0, path, sizeof path);
    std::string s(path);
    return s.substr(0, s.rfind('\\'));
}

static std::string InfPath(const std::string &dir)
{
    return (dir.empty() ? ProgramDir() : dir) + "\\SETUP.INF";
}

void WriteSetupInf(const std::string &text, const std::string &dir)
{
    WriteWholeFile(InfPath(dir), text);
}

void RemoveSetupInf(const std::string &dir)
{
    DeleteFileA(InfPath(dir).c_str());
}

ScratchDir::ScratchDir(const char *name) : path_(std::string("C:\\t\\") + name)
{
    CreateDirectoryA("C:\\t", 0);
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), 0);
}

ScratchDir::~ScratchDir()
{
    RemoveTree(path_);
}

std::vector<DirEntry> ListDir(const std::string &pattern)
{
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return entries;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               found.nFileSizeLow});
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return entries;
}

void RemoveTree(const std::string &path)
{
    for (const DirEntry &e : ListDir(path + "\\*")) {
        std::string full = path + "\\" + e.name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (e.isDir)
            RemoveTree(full);
        else
            DeleteFileA(full.c_str());
    }
    RemoveDirectoryA(path.c_str());
}

void CopyTree(const std::string &from, const std::string &to)
{
    CreateDirectoryA(to.c_str(), 0);
    for (const DirEntry &e : ListDir(from + "\\*")) {
        if (e.isDir)
            CopyTree(from + "\\" + e.name, to + "\\" + e.name);
        else
            CopyFileA((from + "\\" + e.name).c_str(), (to + "\\" + e.name).c_str(), FALSE);
    }
}

void SetRegText(HKEY root, const std::string &key, const char *name, const std::string &value)
{
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key.c_str(), 0, 0, 0, KEY_ALL_ACCESS, 0, &k, 0))
        << "cannot create " << key;
    RegSetValueExA(k, name, 0, REG_SZ, (const BYTE *)value.c_str(), (DWORD)value.size() + 1);
    RegCloseKey(k);
}

std::string GetRegText(HKEY root, const std::string &key, const char *name)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "<no key>";
    char buf[1024] = "";
    DWORD size = sizeof buf - 1;
    LONG rc = RegQueryValueExA(k, name, 0, 0, (BYTE *)buf, &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::string(buf, size && !buf[size - 1] ? size - 1 : size)
                               : "<no value>";
}

void DeleteRegTree(HKEY root, const std::string &key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
        char sub[256];
        while (RegEnumKeyA(k, 0, sub, sizeof sub) == ERROR_SUCCESS)
            DeleteRegTree(k, sub);
        RegCloseKey(k);
    }
    RegDeleteKeyA(root, key.c_str());
}

std::string ReadWholeFile(const std::string &path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    std::string out;
    char buf[4096];
    DWORD got;
    while (ReadFile(h, buf, sizeof buf, &got, 0) && got)
        out.append(buf, got);
    CloseHandle(h);
    return out;
}

int CountMatching(const std::string &pattern)
{
    return (int)ListDir(pattern).size();
}

void WriteWholeFile(const std::string &path, const std::string &content)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << "cannot write " << path;
    DWORD put;
    WriteFile(h, content.data(), (DWORD)content.size(), &put, 0);
    CloseHandle(h);
}

SavedFile::SavedFile(const std::string &path)
    : path_(path), existed_(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
{
    if (existed_)
        content_ = ReadWholeFile(path);
}

SavedFile::~SavedFile()
{
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (existed_)
        WriteWholeFile(path_, content_);
    else
        DeleteFileA(path_.c_str());
}

static const struct { HKEY root; const char *path; } GuardedKeys[] = {
    {HKEY_CLASSES_ROOT, ClsidKey},
    {HKEY_LOCAL_MACHINE, HandlersKey},
    {HKEY_LOCAL_MACHINE, UninstallKey},
    {HKEY_LOCAL_MACHINE, "Enum"},
    {HKEY_LOCAL_MACHINE, ClassMouseKey},
    {HKEY_LOCAL_MACHINE, "Software\\OrvelTest"},
};

static std::string GuardName(int root, const std::string &path)
{
    return std::to_string(root) + "|" + path;
}

// Every key at and below path, parents before their subkeys.
static void ListKeys(HKEY root, const std::string &path, int rootIndex,
                     std::vector<std::string> &out)
{
    HKEY k;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return;
    out.push_back(GuardName(rootIndex, path));
    char sub[256];
    for (DWORD i = 0; RegEnumKeyA(k, i, sub, sizeof sub) == ERROR_SUCCESS; i++)
        ListKeys(root, path + "\\" + sub, rootIndex, out);
    RegCloseKey(k);
}

static std::vector<std::string> GuardedKeyList()
{
    std::vector<std::string> keys;
    for (int i = 0; i < (int)(sizeof GuardedKeys / sizeof GuardedKeys[0]); i++)
        ListKeys(GuardedKeys[i].root, GuardedKeys[i].path, i, keys);
    return keys;
}

static bool RunValueExists()
{
    return GetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse") != "<no value>" &&
           GetRegText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse") != "<no key>";
}

RegistryGuard::RegistryGuard() : keys_(GuardedKeyList()), runValue_(RunValueExists()) {}

void RegistryGuard::Restore()
{
    std::vector<std::string> now = GuardedKeyList();
    // deepest first: a key made since goes with whatever is below it
    for (auto it = now.rbegin(); it != now.rend(); ++it) {
        if (std::find(keys_.begin(), keys_.end(), *it) != keys_.end())
            continue;
        size_t bar = it->find('|');
        DeleteRegTree(GuardedKeys[std::stoi(it->substr(0, bar))].root, it->substr(bar + 1));
    }
    HKEY k;
    if (!runValue_ && RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
        RegDeleteValueA(k, "ZennoMouse");
        RegCloseKey(k);
    }
}

LiveDevice::LiveDevice(const char *name, const std::string &hardwareKey) : name_(name)
{
    HKEY k;
    std::string path = std::string(LiveListKey) + "\\" + name;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_DYN_DATA, path.c_str(), 0, 0, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, 0, &k, 0))
        << "cannot make the live device " << path;
    // past the import table, which a test may have patched to record the program's writes
    static auto set = (decltype(&RegSetValueExA))GetProcAddress(GetModuleHandleA("advapi32.dll"),
                                                                "RegSetValueExA");
    set(k, "HardWareKey", 0, REG_SZ, (const BYTE *)hardwareKey.c_str(), (DWORD)hardwareKey.size() + 1);
    RegCloseKey(k);
}

LiveDevice::~LiveDevice()
{
    DeleteRegTree(HKEY_DYN_DATA, std::string(LiveListKey) + "\\" + name_);
}

std::string WindowsDirectory()
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return dir;
}

std::string SystemDirectory()
{
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, sizeof dir);
    return dir;
}

SystemFilesGuard::SystemFilesGuard()
{
    for (const char *name : {"\\system.ini", "\\system.new", "\\system.bak", "\\WININIT.INI",
                             "\\wininit.bak"})
        saved_.emplace_back(new SavedFile(WindowsDirectory() + name));
    CreateDirectoryA((SystemDirectory() + "\\VMM32").c_str(), 0);
    for (const char *name : {"\\VMM32\\VMOUSE.VXD", "\\VMM32\\VMOUSE.BAK"})
        saved_.emplace_back(new SavedFile(SystemDirectory() + name));
}

static LONG SessionEndQueries;

static LRESULT CALLBACK CountSessionEnd(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_QUERYENDSESSION) {
        SessionEndQueries++;
        return FALSE;   // the test program itself is not to end with the session
    }
    return DefWindowProcA(w, msg, wp, lp);
}

SessionEndWatch::SessionEndWatch()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountSessionEnd;
    wc.lpszClassName = "SessionEndWatch";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, "SessionEndWatch", "watch", WS_POPUP, 0, 0, 1, 1, 0, 0, 0, 0);
    SessionEndQueries = 0;
}

SessionEndWatch::~SessionEndWatch()
{
    DestroyWindow(window_);
}

static bool WinebootRunning()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 p;
    p.dwSize = sizeof p;
    bool found = false;
    for (BOOL more = Process32First(snap, &p); more && !found; more = Process32Next(snap, &p))
        found = !lstrcmpiA(p.szExeFile, "wineboot.exe");
    CloseHandle(snap);
    return found;
}

int SessionEndWatch::RestartsSettled()
{
    DWORD start = GetTickCount();
    while (WinebootRunning() && GetTickCount() - start < 20000)
        Restarts(50);
    EXPECT_FALSE(WinebootRunning()) << "a restart still under way after 20 s";
    return Restarts(0);
}

void SessionEndWatch::Reset()
{
    SessionEndQueries = 0;
}

int SessionEndWatch::Restarts(DWORD ms)
{
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (SessionEndQueries)
            break;
        Sleep(10);
    } while (GetTickCount() - start < ms);
    return SessionEndQueries;
}

void ResetSetupState()
{
    EndChangeLog();   // a copy run in this process leaves its log open for the patch
    ReleaseFileTable();
    SetupState = SETUPSTATE();
    SetupState.ModuleInstance = GetModuleHandleA(0);
}

// Finds the import address slot of dll!function in the test program's import table.
static void **FindImportSlot(const char *dll, const char *function)
{
    BYTE *base = (BYTE *)GetModuleHandleA(0);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (IMAGE_IMPORT_DESCRIPTOR *imp = (IMAGE_IMPORT_DESCRIPTOR *)(base + dir.VirtualAddress);
         imp->Name; imp++) {
        if (lstrcmpiA((char *)(base + imp->Name), dll))
            continue;
        IMAGE_THUNK_DATA *names = (IMAGE_THUNK_DATA *)(base + imp->OriginalFirstThunk);
        IMAGE_THUNK_DATA *slots = (IMAGE_THUNK_DATA *)(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            IMAGE_IMPORT_BY_NAME *byName = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (!lstrcmpA((char *)byName->Name, function))
                return (void **)&slots->u1.Function;
        }
    }
    return 0;
}

static void WriteSlot(void **slot, void *value)
{
    DWORD old;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

ImportPatch::ImportPatch(const char *dll, const char *function, void *replacement)
    : slot_(FindImportSlot(dll, function)), original_(0)
{
    if (!slot_)
        return;
    original_ = *slot_;
    WriteSlot(slot_, replacement);
}

ImportPatch::~ImportPatch()
{
    if (slot_)
        WriteSlot(slot_, original_);
}

static std::vector<MessageBoxCall> RecordedBoxes;
static int RecordedAnswer;
static std::function<int(const MessageBoxCall &)> RecordedAnswerBy;

static int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    MSG quit;
    bool quitPending = PeekMessageA(&quit, 0, WM_QUIT, WM_QUIT, PM_NOREMOVE);
    RecordedBoxes.push_back({owner, text ? text : "<null>", caption ? caption : "<null>", style,
                             quitPending});
    return RecordedAnswerBy ? RecordedAnswerBy(RecordedBoxes.back()) : RecordedAnswer;
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
    : patch_("user32.dll", "MessageBoxA", (void *)RecordMessageBox)
{
    RecordedBoxes.clear();
    RecordedAnswer = answer;
    RecordedAnswerBy = nullptr;
    EXPECT_TRUE(patch_.Applied()) << "MessageBoxA is not imported by the test program";
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    RecordedAnswerBy = nullptr;
}

const std::vector<MessageBoxCall> &MessageBoxRecorder::Calls() const
{
    return RecordedBoxes;
}

void MessageBoxRecorder::Answer(int answer)
{
    RecordedAnswer = answer;
}

void MessageBoxRecorder::Answer(std::function<int(const MessageBoxCall &)> answer)
{
    RecordedAnswerBy = std::move(answer);
}

void MessageBoxRecorder::Clear()
{
    RecordedBoxes.clear();
}

static std::string WindowsPathOf(const char *unixPath)
{
    std::string path = std::string("Z:") + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string DirFromEnvironment(const char *variable)
{
    const char *unixPath = getenv(variable);
    return unixPath ? WindowsPathOf(unixPath) : "";
}

std::string BuiltSetupExe()
{
    const char *unixPath = getenv("SETUP_EXE");
    return unixPath ? WindowsPathOf(unixPath) : "";
}

std::string MediaFile(const std::string &name)
{
    const char *unixPath = getenv("TEST_MEDIA");
    return unixPath ? WindowsPathOf(unixPath) + "\\" + name : "";
}

// The message text is the box's static control that carries text.
static std::string BoxText(HWND box)
{
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16], text[1024];
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") || !GetWindowTextA(c, text, sizeof text))
            continue;
        return text;
    }
    return "";
}

// Waits up to ms for the process while handling this thread's messages, so that
// messages other processes send to the test's windows are answered.
static bool WaitForProcess(HANDLE process, DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        DWORD left = ms - (GetTickCount() - start);
        if (MsgWaitForMultipleObjects(1, &process, FALSE, left > ms ? 0 : left, QS_ALLINPUT) ==
            WAIT_OBJECT_0)
            return true;
    } while (GetTickCount() - start < ms);
    return false;
}

bool WaitUntilIdle(HWND window, DWORD ms)
{
    DWORD_PTR result;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

// The box's buttons as the MB_ style that makes them.
static UINT BoxButtons(HWND box)
{
    if (GetDlgItem(box, IDRETRY))
        return GetDlgItem(box, IDABORT) ? MB_ABORTRETRYIGNORE : MB_RETRYCANCEL;
    if (GetDlgItem(box, IDYES))
        return GetDlgItem(box, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    return GetDlgItem(box, IDCANCEL) ? MB_OKCANCEL : MB_OK;
}

static void AnswerBox(HWND box, SetupRun &run, HANDLE process, const BoxAnswer &answer)
{
    EXPECT_TRUE(WaitUntilIdle(box)) << "a message box that does not take messages";
    run.boxes.push_back({0, BoxText(box), WindowText(box), BoxButtons(box)});
    int id = answer ? answer(run.boxes.back()) : GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
    PostMessageA(box, WM_COMMAND, id, 0);
    while (IsWindow(box) && !WaitForProcess(process, 50))
        ;
}

SetupRun RunSetupExe(const std::string &dir, const char *name, const char *args,
                     std::vector<ExternalStep> steps, DWORD timeoutMs, BoxAnswer answer)
{
    return RunBuiltProgram(BuiltSetupExe(), dir, name, args, std::move(steps), timeoutMs,
                           std::move(answer));
}

SetupRun RunBuiltProgram(const std::string &built, const std::string &dir, const char *name,
                         const char *args, std::vector<ExternalStep> steps, DWORD timeoutMs,
                         BoxAnswer answer)
{
    std::string exe = dir + "\\" + name;
    if (!built.empty())
        EXPECT_TRUE(CopyFileA(built.c_str(), exe.c_str(), FALSE))
            << "cannot copy " << built << " to " << exe;
    std::string cmd = "\"" + exe + "\"" + (args && *args ? std::string(" ") + args : "");
    return RunProgram(exe, cmd, dir, std::move(steps), timeoutMs, std::move(answer));
}

struct WindowNotes {
    DWORD pid;
    std::vector<std::string> *classes;
};

static BOOL CALLBACK NoteWindow(HWND w, LPARAM param)
{
    WindowNotes *notes = (WindowNotes *)param;
    DWORD pid;
    char cls[64] = "";
    GetWindowThreadProcessId(w, &pid);
    GetClassNameA(w, cls, sizeof cls);
    if (pid == notes->pid && IsWindowVisible(w) &&
        std::find(notes->classes->begin(), notes->classes->end(), cls) == notes->classes->end())
        notes->classes->push_back(cls);
    return TRUE;
}

// The classes of the process's visible windows, added to classes once each.
static void NoteWindows(DWORD pid, std::vector<std::string> &classes)
{
    WindowNotes notes = {pid, &classes};
    EnumWindows(NoteWindow, (LPARAM)&notes);
}

// Starts the program and answers its message boxes until it ends; act is called in
// between with the process id. False when it had not ended within timeoutMs (it is
// ended then, and the exit code stays -1).
static bool Drive(const std::string &exe, const std::string &commandLine, const std::string &dir,
                  SetupRun &run, DWORD timeoutMs, const BoxAnswer &answer,
                  const std::function<void(DWORD)> &act)
{
    std::string cmd = commandLine;   // CreateProcessA may write into it
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(exe.empty() ? 0 : exe.c_str(), &cmd[0], 0, 0, FALSE, 0, 0, dir.c_str(),
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return true;
    }
    DWORD start = GetTickCount();
    bool ended = true;
    while (!WaitForProcess(pi.hProcess, 50)) {
        NoteWindows(pi.dwProcessId, run.windows);
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(pi.hProcess, 255);
            WaitForSingleObject(pi.hProcess, 5000);
            ended = false;
            break;
        }
        HWND box = FindProcessWindow(pi.dwProcessId, "#32770");
        if (box && !GetDlgItem(box, 1003))   // the directory browser is no message box
            AnswerBox(box, run, pi.hProcess, answer);
        else
            act(pi.dwProcessId);
    }
    if (ended)
        GetExitCodeProcess(pi.hProcess, &run.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ended;
}

SetupRun RunProgram(const std::string &exe, const std::string &commandLine, const std::string &dir,
                    std::vector<ExternalStep> steps, DWORD timeoutMs, BoxAnswer answer)
{
    SetupRun run;
    HWND last = 0;
    bool ended = Drive(exe, commandLine, dir, run, timeoutMs, answer, [&](DWORD pid) {
        if (run.stepsDone >= steps.size())
            return;
        const ExternalStep &step = steps[run.stepsDone];
        HWND page = FindProcessWindow(pid, step.cls, 0, step.again ? 0 : last);
        if (page && GetWindow(page, GW_CHILD) &&   // shown, and its controls made
            run.boxes.size() >= step.afterBoxes) {
            EXPECT_TRUE(WaitUntilIdle(page)) << step.cls << " does not take messages";
            steps[run.stepsDone++].act(page);
            last = page;
        }
    });
    if (!ended)
        ADD_FAILURE() << commandLine << " did not end within " << timeoutMs
                      << " ms; steps done: " << run.stepsDone;
    EXPECT_EQ(steps.size(), run.stepsDone) << "steps of " << commandLine;
    return run;
}

SetupRun RunAnswering(const std::string &exe, const std::string &commandLine,
                      const std::string &dir, const std::vector<PageAnswer> &pages,
                      DWORD timeoutMs, BoxAnswer answer)
{
    SetupRun run;
    HWND last = 0;
    size_t boxesThen = 0;
    Drive(exe, commandLine, dir, run, timeoutMs, answer, [&](DWORD pid) {
        for (const PageAnswer &p : pages) {
            HWND page = FindProcessWindow(pid, p.cls);
            if (!page || !GetWindow(page, GW_CHILD) || (page == last && run.boxes.size() == boxesThen))
                continue;
            bool refused = page == last;   // a message box came, and the page stayed
            if (!WaitUntilIdle(page, 1000))
                return;
            last = page;
            boxesThen = run.boxes.size();
            run.stepsDone++;
            (refused ? p.again : p.act)(page);
            return;
        }
    });
    return run;
}

struct OwnWindowSearch {
    DWORD pid;
    const char *cls, *title;
    HWND except, found;
};

static BOOL CALLBACK FindOwn(HWND w, LPARAM param)
{
    OwnWindowSearch *s = (OwnWindowSearch *)param;
    DWORD pid;
    char cls[64], title[256];
    GetWindowThreadProcessId(w, &pid);
    if (pid != s->pid || w == s->except || !IsWindowVisible(w))
        return TRUE;
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    if (lstrcmpA(cls, s->cls) || (s->title && lstrcmpA(title, s->title)))
        return TRUE;
    s->found = w;
    return FALSE;
}

HWND FindProcessWindow(DWORD pid, const char *cls, const char *title, HWND except)
{
    OwnWindowSearch s = {pid, cls, title, except, 0};
    EnumWindows(FindOwn, (LPARAM)&s);
    return s.found;
}

HWND FindOwnWindow(const char *cls, const char *title, HWND except)
{
    return FindProcessWindow(GetCurrentProcessId(), cls, title, except);
}

void PostClick(HWND page, int id)
{
    HWND button = GetDlgItem(page, id);
    ASSERT_TRUE(button) << "no control " << id;
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

ExternalStep Press(const char *cls, int id, bool again)
{
    return {cls, [id](HWND page) { PostClick(page, id); }, again};
}

std::vector<ExternalStep> WizardSteps(const char *dest, bool toFinish)
{
    std::vector<ExternalStep> steps = {
        Press("SETUP_BEGIN", IDC_NEXT), Press("SETUP_SELMOUSE", IDC_NEXT),
        {"SETUP_SELDIR", [dest](HWND page) {
            if (dest)
                SetDlgItemTextA(page, IDC_DIRTEXT, dest);
            PostClick(page, IDC_NEXT);
        }}};
    if (toFinish)
        steps.push_back({"SETUP_END", [](HWND page) {
            PostClick(page, IDC_REBOOTLATER);
            PostClick(page, IDC_NEXT);
        }});
    return steps;
}

void SampleMediumTest::SetUp()
{
    ASSERT_FALSE(DirFromEnvironment("MEDIUM").empty()) << "MEDIUM is not set";
    if (Win98Answers()) {
        CreateDirectoryA(Win98Rig, 0);
        TakeWin98Log();
        SetWin98Bias(0);
        SetFloppyNotReady(false);
    }
    RemoveInstalled();
    RemoveTree(medium_);
    CopyTree(DirFromEnvironment("MEDIUM"), medium_);
    WriteWholeFile(WindowsDirectory() + "\\system.ini", Win98Ini);
    DeleteFileA((WindowsDirectory() + "\\system.bak").c_str());
    WriteWholeFile(SystemDirectory() + "\\VMM32\\VMOUSE.VXD", "stock VMOUSE.VXD");
    DeleteFileA((SystemDirectory() + "\\VMM32\\VMOUSE.BAK").c_str());
}

void SampleMediumTest::RemoveInstalled()
{
    registry_.Restore();
    RemoveTree(DefaultDest);
    for (const std::string &dir : destinations_)
        RemoveTree(dir);
    for (const char *f : {"\\SYSTEM\\KXMOUSE.VXD", "\\INF\\KXMOUSE.INF", "\\KXMOUSE.INI", "\\KXSETUP.LOG"})
        DeleteFileA((WindowsDirectory() + f).c_str());
}

SetupRun SampleMediumTest::Install(const char *dest, BoxAnswer answer)
{
    return RunSetupExe(medium_, "SETUP.EXE", "", WizardSteps(dest), 30000, std::move(answer));
}

std::string SampleMediumTest::Registry(const std::vector<std::string> &leaveOut)
{
    return RegistryDump(HKEY_CLASSES_ROOT, ClsidKey, leaveOut) +
           RegistryDump(HKEY_LOCAL_MACHINE, ControlsMouse, leaveOut) +
           RegistryDump(HKEY_LOCAL_MACHINE, RunKey, leaveOut) +
           RegistryDump(HKEY_LOCAL_MACHINE, UninstallKey, leaveOut) +
           RegistryDump(HKEY_LOCAL_MACHINE, "Enum", leaveOut) +
           RegistryDump(HKEY_LOCAL_MACHINE, ClassMouseKey, leaveOut);
}

std::string SampleMediumTest::Files(const std::string &dest)
{
    std::string state = "system.ini:\n" + ReadWholeFile(Win("\\system.ini")) +
                        "\nVMOUSE.VXD: " + ReadWholeFile(Vxd()) +
                        "\nVMOUSE.BAK: " + ReadWholeFile(VxdBak()) + "\nWindows files:";
    for (const char *f : {"\\SYSTEM\\KXMOUSE.VXD", "\\INF\\KXMOUSE.INF", "\\KXMOUSE.INI", "\\KXSETUP.LOG"})
        if (GetFileAttributesA(Win(f).c_str()) != INVALID_FILE_ATTRIBUTES)
            state += std::string(" ") + f;
    return state + "\n" + dest + ":\n" + FileTree(dest);
}

std::vector<std::string> ReportLines(const std::string &path)
{
    std::vector<std::string> lines;
    std::string text = ReadWholeFile(path);
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

std::string SampleMediumTest::Wininit()
{
    char lines[4096] = "";
    DWORD n = GetPrivateProfileSectionA("rename", lines, sizeof lines, Win("\\WININIT.INI").c_str());
    std::string text;
    for (DWORD i = 0; i < n; i += lstrlenA(lines + i) + 1)
        text += std::string(lines + i) + "\n";
    return text;
}

std::string SampleMediumTest::Sample(const std::string &name)
{
    return ReadWholeFile(DirFromEnvironment("SAMPLE") + "\\" + name);
}

void Click(HWND page, int id)
{
    HWND button = GetDlgItem(page, id);
    ASSERT_TRUE(button) << "no control " << id;
    SendMessageA(button, BM_CLICK, 0, 0);
}

std::string ItemText(HWND window, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

static BOOL CALLBACK ListOwn(HWND w, LPARAM param)
{
    DWORD pid;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) {
        char cls[64];
        GetClassNameA(w, cls, sizeof cls);
        *(std::string *)param += std::string(" ") + cls + " \"" + WindowText(w) + "\"";
    }
    return TRUE;
}

// The visible top-level windows of this process, for failure messages.
static std::string OwnWindowsList()
{
    std::string list;
    EnumWindows(ListOwn, (LPARAM)&list);
    return list.empty() ? " none" : list;
}

static PageDriver *ActiveDriver;

PageDriver::PageDriver(std::vector<PageStep> steps, DWORD stepTimeoutMs)
    : steps_(std::move(steps)), waitingSince_(GetTickCount()), stepTimeoutMs_(stepTimeoutMs)
{
    ActiveDriver = this;
    timer_ = SetTimer(0, 0, 20, Tick);
}

PageDriver::~PageDriver()
{
    KillTimer(0, timer_);
    ActiveDriver = nullptr;
    EXPECT_EQ(0u, StepsLeft()) << "steps left undone; next waits for " <<
        (StepsLeft() ? steps_[next_].cls : "");
}

// Cancels whatever page or box of this process is showing, so that a stuck test ends.
static void CancelEverything()
{
    for (const char *cls : {"#32770", "SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR",
                            "SETUP_INSTALL", "SETUP_END"})
        if (HWND w = FindOwnWindow(cls)) {
            SendMessageA(w, WM_COMMAND, IDCANCEL, 0);
            if (IsWindow(w))
                SendMessageA(w, WM_CLOSE, 0, 0);
        }
}

void CALLBACK PageDriver::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    PageDriver *d = ActiveDriver;
    if (!d)
        return;
    if (d->next_ >= d->steps_.size()) {
        if (GetTickCount() - d->waitingSince_ > d->stepTimeoutMs_) {
            ADD_FAILURE() << "a page is still showing after the last step";
            d->waitingSince_ = GetTickCount();
            CancelEverything();
        }
        return;
    }
    const PageStep &step = d->steps_[d->next_];
    HWND w = FindOwnWindow(step.cls, step.title, step.again ? 0 : d->last_);
    if (!w) {
        if (GetTickCount() - d->waitingSince_ > d->stepTimeoutMs_) {
            ADD_FAILURE() << "step " << d->next_ << ": no window of class " << step.cls
                          << (step.title ? std::string(" titled ") + step.title : "")
                          << "; showing: " << OwnWindowsList();
            d->next_ = d->steps_.size();
            d->waitingSince_ = GetTickCount();
            CancelEverything();
        }
        return;
    }
    // The step is taken before its action runs: an action may open a modal dialog
    // whose own loop runs the following steps.
    std::function<void(HWND)> act = step.act;
    d->next_++;
    d->last_ = w;
    d->waitingSince_ = GetTickCount();
    act(w);
    d->waitingSince_ = GetTickCount();
}

std::string BuiltUninstallExe()
{
    const char *unixPath = getenv("UNINSTAL_EXE");
    return unixPath ? WindowsPathOf(unixPath) : "";
}

std::string RegistryDump(HKEY root, const std::string &key, const std::vector<std::string> &leaveOut)
{
    return Regedit4Key(root, key, key, leaveOut);
}

static void ListTree(const std::string &dir, const std::string &prefix, std::vector<std::string> &lines)
{
    for (const DirEntry &e : ListDir(dir + "\\*")) {
        if (e.isDir) {
            lines.push_back(prefix + e.name + "\\");
            ListTree(dir + "\\" + e.name, prefix + e.name + "\\", lines);
        } else {
            lines.push_back(prefix + e.name + " " + std::to_string(e.size));
        }
    }
}

std::string FileTree(const std::string &dir)
{
    std::vector<std::string> lines;
    ListTree(dir, "", lines);
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const std::string &l : lines)
        out += l + "\n";
    return out;
}

bool Win98Answers()
{
    return getenv("WIN98_ANSWERS") != nullptr;
}

static std::string RigFile(const char *name)
{
    CreateDirectoryA(Win98Rig, 0);   // a fresh prefix has none
    return std::string(Win98Rig) + "\\" + name;
}

std::string TakeWin98Log()
{
    std::string log = ReadWholeFile(RigFile("W9X.LOG"));
    DeleteFileA(RigFile("W9X.LOG").c_str());
    return log;
}

void SetWin98Bias(int minutes)
{
    if (minutes)
        WriteWholeFile(RigFile("BIAS"), std::to_string(minutes));
    else
        DeleteFileA(RigFile("BIAS").c_str());
}

void SetFloppyNotReady(bool notReady)
{
    if (notReady)
        WriteWholeFile(RigFile("NOTREADY.A"), "");
    else
        DeleteFileA(RigFile("NOTREADY.A").c_str());
}

// A path WININIT.EXE can read: a drive, then parts of at most eight characters and an
// extension of at most three, without blanks (KB Q129532: "Long filenames are not
// processed").
static bool IsShortPath(const std::string &path)
{
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return false;
    for (size_t at = 3; at < path.size();) {
        size_t end = path.find('\\', at);
        std::string part = path.substr(at, end == std::string::npos ? std::string::npos : end - at);
        size_t dot = part.find('.');
        std::string base = part.substr(0, dot), ext = dot == std::string::npos ? "" : part.substr(dot + 1);
        if (base.empty() || base.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos ||
            part.find(' ') != std::string::npos)
            return false;
        at = end == std::string::npos ? path.size() : end + 1;
    }
    return true;
}

std::string TakeLinesWininitCannotDo()
{
    std::string ini = WindowsDirectory() + "\\WININIT.INI";
    char lines[8192] = "";
    DWORD n = GetPrivateProfileSectionA("rename", lines, sizeof lines, ini.c_str());
    std::string refused, kept;
    for (DWORD i = 0; i < n; i += lstrlenA(lines + i) + 1) {
        std::string line = lines + i;
        size_t eq = line.find('=');
        std::string target = line.substr(0, eq), source = eq == std::string::npos ? "" : line.substr(eq + 1);
        bool del = _stricmp(target.c_str(), "NUL") == 0;
        bool can = IsShortPath(source) && (del || (IsShortPath(target) && toupper(target[0]) == toupper(source[0])));
        (can ? kept : refused) += line + (can ? std::string(1, '\0') : "\n");
    }
    if (!refused.empty()) {
        kept += '\0';
        WritePrivateProfileSectionA("rename", kept.c_str(), ini.c_str());
        WritePrivateProfileStringA(0, 0, 0, ini.c_str());
    }
    return refused;
}

void RestartWithWineboot()
{
    if (Win98Answers())
        EXPECT_EQ("", TakeLinesWininitCannotDo()) << "lines of WININIT.INI Windows 95/98 cannot carry out";
    char cmd[] = "wineboot.exe -r";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessA(0, cmd, 0, 0, FALSE, 0, 0, 0, &si, &pi)) << "cannot start wineboot";
    EXPECT_TRUE(WaitForProcess(pi.hProcess, 60000)) << "wineboot -r did not end within a minute";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
