// Walks a running SETUP.EXE from outside: Next on the welcome, mouse-type and
// destination pages, then Finish with "restart now" (argument "now") or "restart
// later" (argument "later"). Clicks are posted to the buttons, as a user's would be.
// With "pause FILE", it waits on the welcome page: it writes FILE.ready, waits for
// FILE.done (a screenshot is taken meanwhile), then cancels and answers the notice.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "resource.h"

static HWND WaitForPage(const char *cls, HWND previous)
{
    for (int i = 0; i < 400; i++) {
        HWND w = FindWindowA(cls, 0);
        if (w && w != previous && IsWindowVisible(w))
            return w;
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

static int PauseOnWelcome(const char *marker)
{
    HWND page = WaitForPage("SETUP_BEGIN", 0);
    if (!page) {
        printf("drive_walk: no welcome page\n");
        return 1;
    }
    char ready[MAX_PATH], done[MAX_PATH];
    wsprintfA(ready, "%s.ready", marker);
    wsprintfA(done, "%s.done", marker);
    Sleep(300);
    CloseHandle(CreateFileA(ready, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0));
    for (int i = 0; i < 1200 && !Exists(done); i++)
        Sleep(50);
    PostClick(page, IDC_CANCEL);
    HWND notice = WaitForPage("#32770", 0);
    if (notice)
        PostMessageA(notice, WM_COMMAND, IDOK, 0);
    printf("drive_walk: paused on the welcome page, then cancelled\n");
    return notice ? 0 : 1;
}

int main(int argc, char **argv)
{
    if (argc > 2 && !strcmp(argv[1], "pause"))
        return PauseOnWelcome(argv[2]);
    const char *pages[] = {"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR"};
    HWND page = 0;
    for (const char *cls : pages) {
        if (!(page = WaitForPage(cls, page))) {
            printf("drive_walk: no page %s\n", cls);
            return 1;
        }
        Sleep(100);
        PostClick(page, IDC_NEXT);
    }
    if (!(page = WaitForPage("SETUP_END", 0))) {
        printf("drive_walk: no finish page\n");
        return 1;
    }
    Sleep(100);
    bool later = argc > 1 && !strcmp(argv[1], "later");
    PostClick(page, later ? IDC_REBOOTLATER : IDC_REBOOTNOW);
    PostClick(page, IDC_NEXT);
    printf("drive_walk: finished, restart %s\n", later ? "later" : "now");
    return 0;
}
