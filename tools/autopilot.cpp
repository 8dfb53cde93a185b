// Walks a running SETUP.EXE of the same Wine desktop from outside, as a user would:
// clicks are posted to the buttons.
//   autopilot [--serial|--ps2] [--restart now|later] [--shots DIR] [--cancel-at CLASS]
//             [--driver-only] [--disks DIR [--only-disks]]
// Next on the welcome, mouse-type (after choosing the mouse type, when asked) and
// destination pages, then Finish with the restart choice (default: later). With
// --shots, at the backdrop and at each page it writes DIR\NAME.ready and waits for
// DIR\NAME.done, so that a screenshot can be taken meanwhile. With --cancel-at, it
// presses Cancel on that page instead and answers the abort notice. With --driver-only
// it expects SETUP.EXE -u: the mouse-type page alone, then the closing message.
// With --disks, it answers the copy page's disk prompts: it writes the disk's label to
// DIR\insert.ready, waits for DIR\insert.done (which says "ok" once the disk is in the
// drive, anything else when there is no such disk) and clicks Retry (or Cancel). With
// --only-disks it does nothing else, for a user who walks the pages, and ends when
// setup's backdrop is gone.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "resource.h"

static const char *ShotDir;

// A page shows itself while it is being created, before its controls exist and before
// it has set them up: wait for its controls, then give it a moment.
static HWND WaitForWindow(const char *cls, HWND previous, int seconds = 20)
{
    for (int i = 0; i < seconds * 40; i++) {
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

static const char *DiskDir;
static int DiskPrompts;

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

static BOOL CALLBACK FindPrompt(HWND w, LPARAM found)
{
    char cls[16], text[512];
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") || !IsWindowVisible(w))
        return TRUE;
    BoxText(w, text, sizeof text);
    if (strncmp(text, PromptStart, sizeof PromptStart - 1))
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
    for (int i = 0; i < seconds * 40; i++) {
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

static int Fail(const char *what)
{
    printf("autopilot: %s\n", what);
    return 1;
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
        else
            return Fail("unknown argument");
    }
    const struct { const char *cls, *shot; } pages[] = {
        {"SETUP_BEGIN", "2-welcome"}, {"SETUP_SELMOUSE", "3-mouse-type"},
        {"SETUP_SELDIR", "4-destination"}, {"SETUP_END", "6-finish"},
    };
    if (onlyDisks)
        return DiskDir ? AnswerDiskPromptsOnly() : Fail("--only-disks needs --disks");
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
        return 0;
    }
    HWND page = 0;
    for (auto &p : pages) {
        if (!(page = WaitForPageAnsweringPrompts(p.cls, page, p.cls[6] == 'E' ? 120 : 20)))
            return Fail(p.cls);
        if (page && !strcmp(p.cls, "SETUP_BEGIN") && ShotDir) {
            ShowWindow(page, SW_HIDE);   // the backdrop alone
            Shot("1-backdrop");
            ShowWindow(page, SW_SHOW);
        }
        if (!strcmp(p.cls, "SETUP_SELMOUSE") && mouse >= 0)
            PostClick(page, mouse ? IDC_SERIAL : IDC_PS2);
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
            return 0;
        }
        PostClick(page, IDC_NEXT);
        // The copy page is up for about a second (its pause before the registration).
        if (ShotDir && !strcmp(p.cls, "SETUP_SELDIR") && WaitForWindow("SETUP_INSTALL", 0, 10))
            Shot("5-copy");
    }
    if (DiskDir)
        printf("autopilot: %d disk prompt(s) answered\n", DiskPrompts);
    printf("autopilot: finished, restart %s\n", restartNow ? "now" : "later");
    return 0;
}
