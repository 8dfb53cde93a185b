/* The copy page: expands every file of the file table into place, with progress. */
#ifndef COPY_PAGE_H
#define COPY_PAGE_H

#include <windows.h>

LRESULT CALLBACK CopyPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
void CopyAllFiles(HWND page);
/* The script's directories, every file and the registration, on the page or, with
   page 0, unattended; 0 after a Cancel or a failure (the abort notice told). */
int CopyPackage(HWND page);
void BuildSourcePath(char *path, int disk, int entry);
void BuildTargetPath(char *path, int disk, int entry);
void OpenSourceFile(HWND page, const char *path);
/* Expands the source opened last into path whole, the old file there kept at keep
   when given; an outcome of ExpandWhole, or COPY_NO_SOURCE when the source could not
   be opened. */
int ExpandToTarget(HWND page, const char *path, const char *keep);

/* The control's client area in the page's client coordinates. */
void MapItemRect(HWND page, int controlId, RECT *rect);

/* The control's rectangle filled (brush codes 100-106 are colours, any other a stock
   object) with a white and grey bevel that makes it look sunken. */
void DrawSunkenBox(HWND page, HDC dc, int controlId, WORD brushCode);

/* Rewrites system.ini so that Windows loads the *vmouse driver, the mouse line it
   replaces recorded first; 1, or 0 with what failed noted and system.ini as it was. */
int PatchSystemIni(void);

#endif
