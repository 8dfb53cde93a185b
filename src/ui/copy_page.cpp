/* The copy page draws what the copy tells it: the status text, the percentage and the
   bar of the disk under way. A question is a box owned by the page; after Retry the
   page is drawn again whole. */
#include "copy_page.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../../resources/resource.h"

static HWND Page;      /* the page and its device context while its work runs */
static HDC PageDC;
static HWND StatusItem, PercentItem;   /* its two texts, found once */
static LONG BarEnd;    /* the right end of the bar last filled on this disk */
static RECT Bar;       /* where the whole bar lies, found once a disk */

/* Files follow each other faster than anyone reads: the status text is painted, the
   percentage's new text painted, and the Cancel button looked at, once in this many
   milliseconds; always for a disk's first file and before a question, and the
   percentage for its last. */
#define LOOK_EVERY 50
static char Status[256];    /* the status text of the file under way */
static int StatusBehind;    /* Status is not yet what the page shows */
static int PercentBehind;   /* the percentage's text is set but may not be painted */
static int DiskStarting;    /* the next file is its disk's first */
static int PaintingThisFile;   /* the file under way is one whose texts are painted */
static DWORD StatusShownAt, CancelPolledAt;

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
   and under Wine every change and repaint costs round trips to the server. 1 when
   the text was set. */
static int SetItemText(HWND item, const char *text)
{
    char shown[256] = "";
    if (GetWindowTextA(item, shown, sizeof shown) < (int)sizeof shown - 1 &&
        lstrcmpA(shown, text) == 0)
        return 0;
    SetWindowTextA(item, text);
    return 1;
}

/* The text set and painted at once: a static control may only mark itself for painting
   when its text changes, and the page reads no messages while the copy runs. */
static void SetItemTextNow(HWND item, const char *text)
{
    if (SetItemText(item, text))
        UpdateWindow(item);
}

static void PaintPercent(void)
{
    if (PercentBehind)
        UpdateWindow(PercentItem);
    PercentBehind = 0;
}

static void ShowStatus(void)
{
    if (!StatusBehind)
        return;
    SetItemTextNow(StatusItem, Status);
    StatusBehind = 0;
    StatusShownAt = GetTickCount();
}

/* The progress box drawn empty, and where its bar lies. */
static void DrawEmptyBar(void)
{
    DrawSunkenBox(Page, PageDC, IDC_PROGRESS, WHITE_BRUSH);
    MapItemRect(Page, IDC_PROGRESS, &Bar);
    InflateRect(&Bar, -2, -2);
    OffsetRect(&Bar, -1, -1);
}

void CopyPageDiskBegins(int)
{
    UpdateWindow(Page);
    DrawEmptyBar();
    DiskStarting = 1;
}

void CopyPageFileBegins(const FileEntry *e)
{
    CopyText(Status, sizeof Status, ResourceText(IDS_COPYING));
    AppendText(Status, sizeof Status, e->SourceName);
    AppendText(Status, sizeof Status, "\n\n");
    AppendText(Status, sizeof Status, e->Description);
    StatusBehind = 1;
    PaintingThisFile = DiskStarting || GetTickCount() - StatusShownAt >= LOOK_EVERY;
    if (PaintingThisFile)
        ShowStatus();
    DiskStarting = 0;
}

/* The share of the disk done once this entry is finished, as text and as a bar. The
   text is set for every entry and painted with the status text and at the disk's end;
   a bar that has not grown since the last entry is not filled again. */
void CopyPageProgress(int entry, int count)
{
    int percent = (entry * 100 + 100) / count;
    char text[16];
    wsprintfA(text, "%d%%", percent);
    PercentBehind |= SetItemText(PercentItem, text);
    if (PaintingThisFile || entry + 1 >= count)
        PaintPercent();

    RECT r = Bar;
    r.right = r.left + ((r.right - r.left + 1) * percent) / 100;
    if (entry > 0 && r.right == BarEnd)
        return;   /* entry 0 fills the box drawn afresh for its disk */
    BarEnd = r.right;
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(PageDC, &r, blue);
    DeleteObject(blue);
}

/* After a Retry: the question's box, gone, can leave its image or a hole where it stood,
   and the page's own painting restores only its background and controls. The page is
   drawn again whole, the frame afresh as at the disk's start, and the bar is filled
   again by the next progress, before the file is copied again. Cancel closes the page
   as its own Cancel button does. */
int CopyPageAsk(const char *question)
{
    ShowStatus();   /* the file asked about */
    PaintPercent();
    if (MessageBoxA(Page, question, SetupState.Caption, MB_RETRYCANCEL | MB_ICONEXCLAMATION) !=
        IDRETRY) {
        ClosePage(Page, PAGE_CANCEL);
        return 0;
    }
    RedrawWindow(Page, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DrawEmptyBar();
    BarEnd = -1;
    return 1;
}

int CopyPageCancelled(void)
{
    DWORD now = GetTickCount();
    if (now - CancelPolledAt < LOOK_EVERY)
        return SetupState.LastPageResult == PAGE_CANCEL;
    CancelPolledAt = now;
    if (!PollCancel(Page))
        ClosePage(Page, PAGE_CANCEL);   /* a Cancel command posted to the page itself */
    return SetupState.LastPageResult == PAGE_CANCEL;
}

void CopyPageRegistering(void)
{
    StatusBehind = 0;
    PaintPercent();   /* the disk's last entries may have been passed over as in place */
    SetItemTextNow(StatusItem, "Updating Registry...");
    WaitPumping(1000);
}

/* The work; what the user is told after it is the controller's. */
static int (*CopyWork)(void);

void UseCopyWork(int (*work)(void))
{
    CopyWork = work;
}

static void RunCopyWork(HWND page)
{
    Page = page;
    PageDC = GetDC(page);
    StatusItem = GetDlgItem(page, IDC_STATUS);
    PercentItem = GetDlgItem(page, IDC_PERCENT);
    StatusBehind = PercentBehind = 0;
    StatusShownAt = CancelPolledAt = GetTickCount() - LOOK_EVERY;
    SetupState.LastPageResult = PAGE_NEXT;
    if (!CopyWork())
        SetupState.LastPageResult = PAGE_CANCEL;
    ReleaseDC(page, PageDC);
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
        RunCopyWork(page);
        SendMessageA(page, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
