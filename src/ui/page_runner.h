/* Showing wizard pages: the runner, the frame every page shares, the abort notice,
   and the two ways of keeping the screen alive during long work. */
#ifndef PAGE_RUNNER_H
#define PAGE_RUNNER_H

#include <windows.h>

#define WM_BROWSE_SYNC (WM_USER + 101)

/* Shows the page built from the template, runs its loop until it is destroyed and
   returns LastPageResult (PAGE_CANCEL at once when the page cannot be made). */
short RunPage(const char *className, WNDPROC pageProc, WORD templateId);

/* WM_CREATE of every page: product name in the title, centred and shown. A page that
   asks the screen size now passes queryScreen 1; the others use the captured size. */
void PageFrameCreate(HWND page, int queryScreen);

/* Sets LastPageResult and closes the page; the answer to the command is 0. */
LRESULT ClosePage(HWND page, short result);

/* Cancel on a page: PAGE_CANCEL, the abort notice owned by the page, then closing. */
LRESULT CancelPage(HWND page);

/* Formats a control's template text with ProductName for %s. */
void FormatPageText(HWND page, int controlId);

/* "<product> installation is not completed !" */
void ShowAbortNotice(HWND owner);

/* The run's first failure (failure_note.h), named in a box owned by owner. */
void TellFailure(HWND owner);

/* Waits, discarding input; a quit request taken off the queue is posted again. */
void WaitPumping(DWORD milliseconds);

/* Handles the messages queued for the page; 0 when one of them is the Cancel command
   (those after it stay queued). */
int PollCancel(HWND page);

#endif
