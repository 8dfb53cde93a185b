/* The wizard pages' window procedures and the directory browser. */
#ifndef PAGES_H
#define PAGES_H

#include <windows.h>

LRESULT CALLBACK WelcomePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseTypePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DestinationPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FinishPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

/* What the destination page asks before it lets the user on, handed over by the
   controller before the page runs: take and prepare return 1, or 0 with what is wrong
   noted (failure_note.h). */
struct DestinationChecks {
    int (*take)(const char *text, int length);     /* the text as InstallDir, in its one
                                                      form */
    int (*exists)(const char *dir);                /* 1: a directory already */
    int (*prepare)(const char *dir, int existed);  /* free space; made unless it existed */
};
void UseDestinationChecks(const DestinationChecks *checks);

/* The platform's old-style directory picker, opened on start: 1 when OK was pressed,
   with its edit field's text in BrowseBuffer. */
int BrowseForDirectory(HWND owner, const char *start);

#endif
