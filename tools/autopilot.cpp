// Walks a running SETUP.EXE of the same Wine desktop from outside, as a user would:
// clicks are posted to the buttons.
//   autopilot [--serial|--ps2] [--restart now|later] [--shots DIR] [--cancel-at CLASS]
//             [--driver-only] [--disks DIR [--only-disks]]
//             [--limit SECONDS] [--watch] [-- PROGRAM [ARGUMENTS...]]
//   autopilot --windows
// Next on the welcome, mouse-type (after choosing the mouse type, when asked) and
// destination pages (telling the destination the page offers), then Finish with the
// restart choice (default: later). With --shots, at the backdrop and at each page it
// writes DIR\NAME.ready and waits for DIR\NAME.done, so that a screenshot can be taken
// meanwhile. With --cancel-at, it presses Cancel on that page instead and answers the
// abort notice. With --driver-only it expects SETUP.EXE -u: the mouse-type page alone,
// then the closing message.
// With --disks, it answers the copy page's disk prompts: it writes the disk's label to
// DIR\insert.ready, waits for DIR\insert.done (which says "ok" once the disk is in the
// drive, anything else when there is no such disk) and clicks Retry (or Cancel). With
// --only-disks it does nothing else, for a user who walks the pages, and ends when
// setup's backdrop is gone.
// After "--" it starts PROGRAM itself and watches it: the program has --limit seconds
// (default 180) to end, and a window of it that the walk does not know (with --watch
// there is no walk and no window is known) may not stay up. When the limit passes, the
// program ends before its walk is done, a page does not come or an unknown window
// stays, it prints "autopilot: stopped: WHY" and the caption and text of the program's
// windows, takes the screenshot 9-stopped-NAME (NAME: the program's file name without
// extension), ends the program and says "PROGRAM stopped". A program that ends by
// itself is told as "PROGRAM ended with exit code N". --windows prints the caption
// and text of every window on screen.
// Exit codes: 0 the walk done (the program, when started, ended by itself); 1 stopped
// or a page missing; 2 a usage error or a program that cannot be started.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "resource.h"

static const char *ShotDir;
static const char *DiskDir;
static int DiskPrompts;

// The program the autopilot started (after "--") and watches, or none.
static HANDLE Program;
static DWORD ProgramId;
static char ProgramPath[MAX_PATH], ProgramName[MAX_PATH];
static DWORD StartTick, LimitSeconds = 180;
static bool Walking = true;     // false with --watch: no window of the program is known
static bool Ending;             // the walk is done: the program may end
static DWORD UnknownSince;      // when an unknown window was first seen, or 0
static char Trouble[512];       // why the walk cannot go on

static bool Exists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Lets the caller take a screenshot named name, and waits until it has.
static void Shot(const char *name)
{
    if (!ShotDir)
        return;
    char ready[MAX_PATH], done[MAX_PATH];
    wsprintfA(ready, "%s\\%s.ready", ShotDir, name);
    wsprintfA(done, "%s\\%s.done", ShotDir, name);
    Sleep(300);   // the page has painted
    CloseHandle(CreateFileA(ready, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0));
    for (int i = 0; i < 600 && !Exists(done); i++)
        Sleep(50);
}

// The message text of a box: its static control that carries text.
static void BoxText(HWND box, char *text, int size)
{
    text[0] = 0;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16];
        GetClassNameA(c, cls, sizeof cls);
        if (!lstrcmpiA(cls, "Static") && GetWindowTextA(c, text, size))
            return;
    }
}

static const char PromptStart[] = "Please insert '";
static const char PromptEnd[] = "' into your disk drive !";

static bool IsDiskPrompt(HWND w)
{
    char cls[16], text[512];
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") || !IsWindowVisible(w))
        return false;
    BoxText(w, text, sizeof text);
    return !strncmp(text, PromptStart, sizeof PromptStart - 1);
}

// The windows a walk expects of setup: the backdrop, its pages, and with --disks the
// copy page's disk prompts.
static bool KnownWindow(HWND w)
{
    if (!Walking)
        return false;
    char cls[32];
    GetClassNameA(w, cls, sizeof cls);
    return !strcmp(cls, "SetupMain") || !strncmp(cls, "SETUP_", 6) || (DiskDir && IsDiskPrompt(w));
}

// Whether w is a visible window of the process (of any, with 0).
static bool ShownBy(HWND w, DWORD process)
{
    DWORD owner;
    GetWindowThreadProcessId(w, &owner);
    return (!process || owner == process) && IsWindowVisible(w);
}

struct Search { DWORD process; HWND found; };

static BOOL CALLBACK FindUnknown(HWND w, LPARAM param)
{
    Search *search = (Search *)param;
    if (!ShownBy(w, search->process) || KnownWindow(w))
        return TRUE;
    search->found = w;
    return FALSE;
}

// One line per window: its caption and class, then the texts of its visible controls,
// buttons in brackets (a picture's resource number is no text).
static BOOL CALLBACK Describe(HWND w, LPARAM process)
{
    if (!ShownBy(w, (DWORD)process))
        return TRUE;
    char line[4096], text[1024], cls[64];
    GetWindowTextA(w, text, sizeof text);
    GetClassNameA(w, cls, sizeof cls);
    int n = snprintf(line, sizeof line, "autopilot:   \"%s\" (%s)", text, cls);
    for (HWND c = GetWindow(w, GW_CHILD); c && n < (int)sizeof line; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c) || !GetWindowTextA(c, text, sizeof text) || (BYTE)text[0] == 0xFF)
            continue;
        for (char *t = text; *t; t++)
            if (*t == '\r' || *t == '\n')
                *t = ' ';
        GetClassNameA(c, cls, sizeof cls);
        n += snprintf(line + n, sizeof line - n, lstrcmpiA(cls, "Button") ? " \"%s\"" : " [%s]", text);
    }
    printf("%s\n", line);
    return TRUE;
}

// The windows on screen, those of one process or (0) all; top first.
static void ListWindows(DWORD process, const char *whose)
{
    printf("autopilot: on screen, %s:\n", whose);
    EnumWindows(Describe, (LPARAM)process);
    fflush(stdout);
}

// Whether the started program may go on: within its time limit, running while the walk
// is not done, and without a window the walk does not know up for a second (one on its
// way out does not count). Otherwise Trouble says why, from then on.
static bool ProgramFine()
{
    if (!Program || Trouble[0])
        return !Trouble[0];
    if (GetTickCount() - StartTick >= LimitSeconds * 1000) {
        snprintf(Trouble, sizeof Trouble, "%s did not end within its time limit of %lu s",
                 ProgramPath, LimitSeconds);
        return false;
    }
    DWORD code;
    if (!Ending && WaitForSingleObject(Program, 0) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(Program, &code)) {
        snprintf(Trouble, sizeof Trouble, "%s ended (exit code %lu) before its walk was done",
                 ProgramPath, code);
        return false;
    }
    Search search = { ProgramId, 0 };
    EnumWindows(FindUnknown, (LPARAM)&search);
    if (!search.found) {
        UnknownSince = 0;
        return true;
    }
    if (!UnknownSince)
        UnknownSince = GetTickCount();
    if (GetTickCount() - UnknownSince < 1000)
        return true;
    char caption[256], cls[64];
    GetWindowTextA(search.found, caption, sizeof caption);
    GetClassNameA(search.found, cls, sizeof cls);
    snprintf(Trouble, sizeof Trouble, "a window it does not know: \"%s\" (%s)", caption, cls);
    return false;
}

static void TellEnd()
{
    DWORD code = 0;
    GetExitCodeProcess(Program, &code);
    printf("autopilot: %s ended with exit code %lu\n", ProgramPath, code);
}

// Ends the walk: says why, and with a started program shows its windows, has a
// screenshot taken of them and ends the program.
static int Fail(const char *what)
{
    printf("autopilot: stopped: %s\n", Trouble[0] ? Trouble : what);
    fflush(stdout);
    if (!Program)
        return 1;
    char whose[MAX_PATH + 32], shot[MAX_PATH + 16];
    snprintf(whose, sizeof whose, "the windows of %s", ProgramPath);
    ListWindows(ProgramId, whose);
    snprintf(shot, sizeof shot, "9-stopped-%s", ProgramName);
    Shot(shot);
    if (WaitForSingleObject(Program, 0) == WAIT_TIMEOUT) {
        TerminateProcess(Program, 1);
        WaitForSingleObject(Program, 10000);
        printf("autopilot: %s stopped\n", ProgramPath);
    } else {
        TellEnd();
    }
    return 1;
}

// Starts the program of args (its path and arguments; those with a blank are quoted).
static bool StartProgram(char **args, int count)
{
    char line[2048] = "";
    for (int i = 0; i < count; i++) {
        const char *quote = strchr(args[i], ' ') ? "\"" : "";
        size_t n = strlen(line);
        snprintf(line + n, sizeof line - n, "%s%s%s%s", i ? " " : "", quote, args[i], quote);
    }
    lstrcpynA(ProgramPath, args[0], sizeof ProgramPath);
    const char *base = strrchr(args[0], '\\');
    lstrcpynA(ProgramName, base ? base + 1 : args[0], sizeof ProgramName);
    if (char *dot = strrchr(ProgramName, '.'))
        *dot = 0;
    STARTUPINFOA startup = { sizeof startup };
    PROCESS_INFORMATION started;
    if (!CreateProcessA(0, line, 0, 0, FALSE, 0, 0, 0, &startup, &started)) {
        printf("autopilot: cannot start %s (error %lu)\n", line, GetLastError());
        return false;
    }
    CloseHandle(started.hThread);
    Program = started.hProcess;
    ProgramId = started.dwProcessId;
    StartTick = GetTickCount();
    return true;
}

// The walk is done: waits for the program to end by itself within its time limit.
static int WaitForEnd()
{
    Ending = true;
    while (WaitForSingleObject(Program, 25) == WAIT_TIMEOUT)
        if (!ProgramFine())
            return Fail("");
    TellEnd();
    return 0;
}

// A page shows itself while it is being created, before its controls exist and before
// it has set them up: wait for its controls, then give it a moment.
static HWND WaitForWindow(const char *cls, HWND previous, int seconds = 20)
{
    for (int i = 0; i < seconds * 40 && ProgramFine(); i++) {
        HWND w = FindWindowA(cls, 0);
        if (w && w != previous && IsWindowVisible(w) && GetWindow(w, GW_CHILD)) {
            Sleep(150);
            return w;
        }
        Sleep(25);
    }
    return 0;
}

static void PostClick(HWND page, int id)
{
    HWND button = GetDlgItem(page, id);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

static BOOL CALLBACK FindPrompt(HWND w, LPARAM found)
{
    if (!IsDiskPrompt(w))
        return TRUE;
    *(HWND *)found = w;
    return FALSE;
}
// The copy page's disk prompt, when it is up.
static HWND DiskPrompt()
{
    HWND found = 0;
    EnumWindows(FindPrompt, (LPARAM)&found);
    return found;
}

// Asks for the disk the prompt names to be put in the drive, then answers the prompt:
// Retry once it is in, Cancel when there is no such disk or after ten prompts.
static void AnswerDiskPrompt(HWND box)
{
    Sleep(200);   // the box has drawn its text
    char text[512], label[256];
    BoxText(box, text, sizeof text);
    const char *start = text + sizeof PromptStart - 1;
    const char *end = strstr(start, PromptEnd);
    int length = end ? (int)(end - start) : 0;
    lstrcpynA(label, start, length + 1 < (int)sizeof label ? length + 1 : (int)sizeof label);
    DiskPrompts++;
    char shot[32];
    wsprintfA(shot, "5-disk-prompt-%d", DiskPrompts);
    Shot(shot);
    char ready[MAX_PATH], done[MAX_PATH], answer[16] = "";
    wsprintfA(ready, "%s\\insert.ready", DiskDir);
    wsprintfA(done, "%s\\insert.done", DiskDir);
    DeleteFileA(done);
    HANDLE f = CreateFileA(ready, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    DWORD written;
    WriteFile(f, label, lstrlenA(label), &written, 0);
    CloseHandle(f);
    for (int i = 0; i < 1200 && !Exists(done); i++)
        Sleep(50);
    f = CreateFileA(done, GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0);
    DWORD got = 0;
    if (f != INVALID_HANDLE_VALUE) {
        ReadFile(f, answer, sizeof answer - 1, &got, 0);
        CloseHandle(f);
        DeleteFileA(done);
    }
    answer[got] = 0;
    bool inserted = !strncmp(answer, "ok", 2) && DiskPrompts <= 10;
    printf("autopilot: disk prompt for '%s': %s\n", label,
           inserted ? "disk inserted, Retry" : "no such disk, Cancel");
    fflush(stdout);
    PostMessageA(box, WM_COMMAND, inserted ? IDRETRY : IDCANCEL, 0);
    for (int i = 0; i < 200 && IsWindow(box); i++)
        Sleep(25);
}

// Waits for a page, answering disk prompts meanwhile when asked to; each prompt gives
// the page its full time again.
static HWND WaitForPageAnsweringPrompts(const char *cls, HWND previous, int seconds)
{
    for (int i = 0; i < seconds * 40 && ProgramFine(); i++) {
        HWND w = FindWindowA(cls, 0);
        if (w && w != previous && IsWindowVisible(w) && GetWindow(w, GW_CHILD)) {
            Sleep(150);
            return w;
        }
        HWND prompt = DiskDir ? DiskPrompt() : 0;
        if (prompt) {
            AnswerDiskPrompt(prompt);
            i = 0;
        }
        Sleep(25);
    }
    return 0;
}

// For a user who walks the pages: answers disk prompts until setup's backdrop is gone.
static int AnswerDiskPromptsOnly()
{
    bool seen = false;
    for (int gone = 0; gone < 80; ) {
        bool up = FindWindowA("SetupMain", 0) != 0;
        seen = seen || up;
        gone = seen && !up ? gone + 1 : 0;
        HWND prompt = DiskPrompt();
        if (prompt)
            AnswerDiskPrompt(prompt);
        Sleep(25);
    }
    printf("autopilot: %d disk prompt(s) answered\n", DiskPrompts);
    return 0;
}

int main(int argc, char **argv)
{
    int mouse = -1;                 // 1 serial, 0 PS/2, -1 as the page shows
    bool restartNow = false;
    const char *cancelAt = 0;
    bool driverOnly = false;
    bool onlyDisks = false;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--serial"))
            mouse = 1;
        else if (!strcmp(argv[i], "--ps2"))
            mouse = 0;
        else if (!strcmp(argv[i], "--restart") && i + 1 < argc)
            restartNow = !strcmp(argv[++i], "now");
        else if (!strcmp(argv[i], "--shots") && i + 1 < argc)
            ShotDir = argv[++i];
        else if (!strcmp(argv[i], "--cancel-at") && i + 1 < argc)
            cancelAt = argv[++i];
        else if (!strcmp(argv[i], "--driver-only"))
            driverOnly = true;
        else if (!strcmp(argv[i], "--disks") && i + 1 < argc)
            DiskDir = argv[++i];
        else if (!strcmp(argv[i], "--only-disks"))
            onlyDisks = true;
        else if (!strcmp(argv[i], "--limit") && i + 1 < argc && atoi(argv[i + 1]) > 0)
            LimitSeconds = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--watch"))
            Walking = false;
        else if (!strcmp(argv[i], "--windows") && argc == 2) {
            ListWindows(0, "every window");
            return 0;
        } else if (!strcmp(argv[i], "--") && i + 1 < argc) {
            if (!StartProgram(argv + i + 1, argc - i - 1))
                return 2;
            break;
        } else {
            printf("autopilot: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    const struct { const char *cls, *shot; } pages[] = {
        {"SETUP_BEGIN", "2-welcome"}, {"SETUP_SELMOUSE", "3-mouse-type"},
        {"SETUP_SELDIR", "4-destination"}, {"SETUP_END", "6-finish"},
    };
    if (onlyDisks)
        return DiskDir ? AnswerDiskPromptsOnly() : Fail("--only-disks needs --disks");
    if (!Walking)
        return Program ? WaitForEnd() : Fail("--watch needs a program to start");
    if (driverOnly) {
        HWND page = WaitForWindow("SETUP_SELMOUSE", 0);
        if (!page)
            return Fail("no mouse-type page");
        if (mouse >= 0)
            PostClick(page, mouse ? IDC_SERIAL : IDC_PS2);
        Shot("3-mouse-type");
        PostClick(page, IDC_NEXT);
        HWND done = WaitForWindow("#32770", 0);
        if (!done)
            return Fail("no closing message");
        Shot("6-driver-installed");
        PostMessageA(done, WM_COMMAND, IDOK, 0);
        printf("autopilot: driver-only mode done\n");
        return Program ? WaitForEnd() : 0;
    }
    HWND page = 0;
    for (auto &p : pages) {
        int seconds = p.cls[6] == 'E' ? 120 : 20;
        if (!(page = WaitForPageAnsweringPrompts(p.cls, page, seconds))) {
            char what[64];
            snprintf(what, sizeof what, "no %s page within %d s", p.cls, seconds);
            return Fail(what);
        }
        if (page && !strcmp(p.cls, "SETUP_BEGIN") && ShotDir) {
            ShowWindow(page, SW_HIDE);   // the backdrop alone
            Shot("1-backdrop");
            ShowWindow(page, SW_SHOW);
        }
        if (!strcmp(p.cls, "SETUP_SELMOUSE") && mouse >= 0)
            PostClick(page, mouse ? IDC_SERIAL : IDC_PS2);
        if (!strcmp(p.cls, "SETUP_SELDIR")) {
            char dir[MAX_PATH];
            GetDlgItemTextA(page, IDC_DIRTEXT, dir, sizeof dir);
            printf("autopilot: destination %s\n", dir);
        }
        if (!strcmp(p.cls, "SETUP_END"))
            PostClick(page, restartNow ? IDC_REBOOTNOW : IDC_REBOOTLATER);
        Shot(p.shot);
        if (cancelAt && !strcmp(p.cls, cancelAt)) {
            PostClick(page, IDC_CANCEL);
            HWND notice = WaitForWindow("#32770", 0, 10);
            if (!notice)
                return Fail("no abort notice");
            PostMessageA(notice, WM_COMMAND, IDOK, 0);
            printf("autopilot: cancelled on %s\n", p.cls);
            return Program ? WaitForEnd() : 0;
        }
        PostClick(page, IDC_NEXT);
        // The copy page is up for about a second (its pause before the registration).
        if (ShotDir && !strcmp(p.cls, "SETUP_SELDIR") && WaitForWindow("SETUP_INSTALL", 0, 10))
            Shot("5-copy");
    }
    if (DiskDir)
        printf("autopilot: %d disk prompt(s) answered\n", DiskPrompts);
    printf("autopilot: finished, restart %s\n", restartNow ? "now" : "later");
    return Program ? WaitForEnd() : 0;
}
