/* The copy page does all its work inside WM_PAGE_INIT, before its message loop runs:
   it keeps itself painted with UpdateWindow and lets the Cancel button through with
   PollCancel, twice per file. A file that cannot be put in place whole is asked
   about: Retry draws the page again whole and copies the file again from the start,
   Cancel ends the copy as the page's Cancel button does. The unattended run does the
   same work without a page (page 0): nothing is drawn, and nothing asked. */
#include "copy_page.h"
#include <lzexpand.h>
#include "registration.h"
#include "../shared/file_paths.h"
#include "whole_file.h"
#include "copy_failure.h"
#include "older_files.h"
#include "../shared/dir_entries.h"
#include "../shared/path_names.h"
#include "../ui/page_runner.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/prior_values.h"
#include "../../resources/resource.h"

#define PATH_SIZE 256

static INT SourceHandle = -1;   /* from OpenSourceFile to the next ExpandToTarget */
static LONG SourceSize = -1;    /* the size the open source declares */

static FileEntry *EntryOf(int disk, int entry)
{
    return SetupState.DiskFirstEntry[disk] + entry;
}

void BuildSourcePath(char *path, int disk, int entry)
{
    ComposeSourcePath(path, PATH_SIZE, SetupState.SetupDir, EntryOf(disk, entry));
}

void BuildTargetPath(char *path, int disk, int entry)
{
    ComposeTargetPath(path, PATH_SIZE, SetupState.InstallDir, EntryOf(disk, entry));
}

void OpenSourceFile(HWND page, const char *path)
{
    OFSTRUCT of;
    SourceHandle = LZOpenFileA((LPSTR)path, &of, OF_READ);
    SourceSize = SourceHandle >= 0 ? DeclaredSize(SourceHandle) : -1;
    PollCancel(page);
}

static void CloseSource(void)
{
    if (SourceHandle >= 0)
        LZClose(SourceHandle);
    SourceHandle = -1;
}

int ExpandToTarget(HWND page, const char *path, const char *keep)
{
    int outcome = COPY_NO_SOURCE;
    if (SourceHandle >= 0)
        outcome = SourceSize >= 0 ? ExpandWhole(SourceHandle, SourceSize, path, keep)
                                  : COPY_DAMAGED;
    CloseSource();
    PollCancel(page);
    return outcome;
}

void MapItemRect(HWND page, int controlId, RECT *rect)
{
    HWND item = GetDlgItem(page, controlId);
    POINT pageOrigin = { 0, 0 }, itemOrigin = { 0, 0 };
    SetRectEmpty(rect);   /* stays empty once a Cancel has closed the page */
    GetClientRect(item, rect);
    ClientToScreen(page, &pageOrigin);
    ClientToScreen(item, &itemOrigin);
    OffsetRect(rect, itemOrigin.x - pageOrigin.x, itemOrigin.y - pageOrigin.y);
}

static HBRUSH BrushFromCode(WORD code)
{
    static const COLORREF colours[] = {
        RGB(0, 255, 0), RGB(255, 255, 0), RGB(255, 0, 0), RGB(0, 128, 0),
        RGB(128, 128, 0), RGB(128, 0, 0), RGB(0, 128, 128)
    };
    if (code >= 100 && code <= 106)
        return CreateSolidBrush(colours[code - 100]);
    return (HBRUSH)GetStockObject(code);
}

void DrawSunkenBox(HWND page, HDC dc, int controlId, WORD brushCode)
{
    RECT r;
    MapItemRect(page, controlId, &r);
    HPEN whitePen = (HPEN)GetStockObject(WHITE_PEN);
    HPEN greyPen = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HBRUSH fill = BrushFromCode(brushCode);
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, whitePen);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    OffsetRect(&r, -1, -1);
    SelectObject(dc, greyPen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(greyPen);
    DeleteObject(fill);   /* a stock object is left alone by the platform */
}

/* A text the control already shows is not set again: it would draw the same pixels,
   and under Wine every change and repaint costs round trips to the server. */
static void SetItemTextNow(HWND page, int controlId, const char *text)
{
    HWND item = GetDlgItem(page, controlId);
    char shown[256] = "";
    if (GetWindowTextA(item, shown, sizeof shown) < (int)sizeof shown - 1 &&
        lstrcmpA(shown, text) == 0)
        return;
    SetWindowTextA(item, text);
    UpdateWindow(item);
}

static void ShowCopyStatus(HWND page, FileEntry *e)
{
    if (!page)
        return;
    char status[256];
    CopyText(status, sizeof status, ResourceText(IDS_COPYING));
    AppendText(status, sizeof status, e->SourceName);
    AppendText(status, sizeof status, "\n\n");
    AppendText(status, sizeof status, e->Description);
    SetItemTextNow(page, IDC_STATUS, status);
}

static LONG BarEnd;   /* the right end of the bar last filled on this disk */

/* The share of the disk done once this entry is finished, as text and as a bar. A bar
   that has not grown since the last entry is not filled again. */
static void ShowProgress(HWND page, HDC dc, int entry, int count)
{
    if (!page)
        return;
    int percent = (entry * 100 + 100) / count;
    char text[16];
    wsprintfA(text, "%d%%", percent);
    SetItemTextNow(page, IDC_PERCENT, text);

    RECT r;
    MapItemRect(page, IDC_PROGRESS, &r);
    InflateRect(&r, -2, -2);
    OffsetRect(&r, -1, -1);
    r.right = r.left + ((r.right - r.left + 1) * percent) / 100;
    if (entry > 0 && r.right == BarEnd)
        return;   /* entry 0 fills the box drawn afresh for its disk */
    BarEnd = r.right;
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &r, blue);
    DeleteObject(blue);
}

/* After a Retry: the question's box, gone, can leave its image or a hole where it stood,
   and the page's own painting restores only its background and controls. The page is
   drawn again whole, the frame afresh as at the disk's start, and the bar is filled
   again by the next ShowProgress, before the file is copied again. */
static void RepaintAfterQuestion(HWND page, HDC dc)
{
    RedrawWindow(page, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DrawSunkenBox(page, dc, IDC_PROGRESS, WHITE_BRUSH);
    BarEnd = -1;
}

static int IsInstalledScript(const FileEntry *e, const char *target)
{
    char script[RECORD_PATH_SIZE];
    InstalledScriptPath(script, sizeof script);
    return !e->TargetIsAbsolute && SameTextNoCase(e->TargetName, "SETUP.INF") &&
           SamePlace(target, script);
}

/* ExpandToTarget, with what the target replaces taken care of: an older file outside
   the destination is kept, and the record in the installed script is carried over
   into its fresh copy. */
static int CopyToTarget(HWND page, const FileEntry *e, const char *target)
{
    char keep[MAX_PATH];
    int script = IsInstalledScript(e, target);
    int outcome = PlaceToKeepOlderFile(e, target, keep);
    if (outcome == COPY_DONE && script && !HoldRecord())
        outcome = COPY_CANNOT_RECORD;
    if (outcome != COPY_DONE) {
        CloseSource();
        return outcome;
    }
    outcome = ExpandToTarget(page, target, keep[0] ? keep : 0);
    if (outcome == COPY_DONE && script && !PutRecordBack())
        outcome = COPY_CANNOT_RECORD;
    return outcome;
}

/* One entry of the file table, again from its source for as long as the user asks
   for Retry. An entry the loader left empty names no file and is passed over. */
static void CopyEntry(HWND page, HDC dc, int d, int i)
{
    int count = SetupState.DiskFileCount[d];
    char source[PATH_SIZE], target[PATH_SIZE];
    BuildSourcePath(source, d, i);
    BuildTargetPath(target, d, i);
    for (;;) {
        ShowCopyStatus(page, EntryOf(d, i));
        OpenSourceFile(page, source);
        ShowProgress(page, dc, i, count);
        int outcome = CopyToTarget(page, EntryOf(d, i), target);
        if (outcome == COPY_DONE || !EntryOf(d, i)->SourceName[0] ||
            SetupState.LastPageResult == PAGE_CANCEL)
            return;
        if (!AskToRetry(page, outcome, d, source, target)) {
            ClosePage(page, PAGE_CANCEL);   /* as the page's own Cancel button does */
            return;
        }
        RepaintAfterQuestion(page, dc);
    }
}

/* 1 when the destination holds what the uninstall entry runs and the script it reads:
   after a Cancel without them nothing is registered, and setup can simply run again. */
static int CanBeRemoved(void)
{
    if (SetupState.LastPageResult != PAGE_CANCEL)
        return 1;
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return 0;
    CopyText(path, sizeof path, SetupState.InstallDir);
    AppendText(path, sizeof path, "\\UNINSTAL.EXE");
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

/* What failed, told in a box owned by the page; the run then ends as after a Cancel. */
static void EndOnFailure(HWND page)
{
    TellFailure(page);
    SetupState.LastPageResult = PAGE_CANCEL;
}

void CopyAllFiles(HWND page)
{
    HDC dc = page ? GetDC(page) : 0;
    for (int d = 0; d < SetupState.DiskCount && SetupState.LastPageResult != PAGE_CANCEL; d++) {
        int count = SetupState.DiskFileCount[d];
        if (page) {
            UpdateWindow(page);
            DrawSunkenBox(page, dc, IDC_PROGRESS, WHITE_BRUSH);
        }
        for (int i = 0; i < count && SetupState.LastPageResult != PAGE_CANCEL; i++)
            CopyEntry(page, dc, d, i);
    }
    /* reached after the last file and after a Cancel alike */
    if (CanBeRemoved()) {
        if (page) {
            SetItemTextNow(page, IDC_STATUS, "Updating Registry...");
            WaitPumping(1000);
        }
        if (!RegisterMouseDevice(1))
            EndOnFailure(page);
    }
    if (page)
        ReleaseDC(page, dc);
}

/* A temporary file a copy that failed could not take away; should it stay, it costs
   room only. */
static void DeleteTemporary(const char *path, int isDir, void *)
{
    if (!isDir)
        DeleteFileA(path);
}

/* The script's subdirectories below the destination, each asked about until it is
   there or the user cancels; 0 after a Cancel, which closes the page. Setup's
   temporary files that an earlier copy left in them go. */
static int PrepareDirectories(HWND page)
{
    ForEachEntry(SetupState.InstallDir, SETUP_TEMPORARIES, DeleteTemporary, 0);
    for (int slot = 1; slot <= 6; slot++) {
        if (!SetupState.DirectorySlots[slot][0])
            continue;
        char kept[sizeof(FileEntry::TargetDir)];   /* the name, cut as the files have it */
        CopyText(kept, sizeof kept, SetupState.DirectorySlots[slot]);
        char dir[256];
        CopyText(dir, sizeof dir, SetupState.InstallDir);
        AppendText(dir, sizeof dir, "\\");
        AppendText(dir, sizeof dir, kept);
        while (!MakeDirectory(dir))
            if (!AskToRetry(page, COPY_NO_DIRECTORY, 0, "", dir)) {
                ClosePage(page, PAGE_CANCEL);
                return 0;
            }
        ForEachEntry(dir, SETUP_TEMPORARIES, DeleteTemporary, 0);
    }
    return 1;
}

int CopyPackage(HWND page)
{
    if (PrepareDirectories(page)) {
        SetupState.LastPageResult = PAGE_NEXT;
        CopyAllFiles(page);
    }
    if (SetupState.LastPageResult != PAGE_CANCEL)
        return 1;
    ShowAbortNotice(SetupState.BackdropWindow);   /* the page is gone by now */
    return 0;
}

LRESULT CALLBACK CopyPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch ((WORD)msg) {
    case WM_CREATE:
        PageFrameCreate(page, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        if (wParam == IDC_NEXT)      /* the page's one button reads "Cancel" */
            return ClosePage(page, PAGE_CANCEL);
        break;
    case WM_PAGE_INIT:
        UpdateWindow(page);
        CopyPackage(page);
        SendMessageA(page, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
