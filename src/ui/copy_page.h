/* The copy page: the wizard's face of the copy. It does all its work inside
   WM_PAGE_INIT, before its message loop runs: it keeps itself painted with
   UpdateWindow and lets the Cancel button through with PollCancel. */
#ifndef COPY_PAGE_H
#define COPY_PAGE_H

#include <windows.h>
#include "../shared/file_table.h"

LRESULT CALLBACK CopyPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

/* The work the page does at WM_PAGE_INIT, with the functions below as its face (1
   when it went through), handed over by the controller before the page runs. */
void UseCopyWork(int (*work)(void));

/* The face, while the page runs its work. */
void CopyPageDiskBegins(int disk);              /* the progress frame drawn afresh */
void CopyPageFileBegins(const FileEntry *e);    /* "Copying " and its name, description
                                                   (painted at most every 50 ms) */
void CopyPageProgress(int entry, int count);    /* percentage and bar */
int CopyPageAsk(const char *question);          /* Retry or Cancel, owned by the page */
int CopyPageCancelled(void);                    /* polls the page, at most every 50 ms */
void CopyPageRegistering(void);                 /* "Updating Registry..." and a pause */

/* The control's client area in the page's client coordinates. */
void MapItemRect(HWND page, int controlId, RECT *rect);

/* The control's rectangle filled (brush codes 100-106 are colours, any other a stock
   object) with a white and grey bevel that makes it look sunken. */
void DrawSunkenBox(HWND page, HDC dc, int controlId, WORD brushCode);

#endif
