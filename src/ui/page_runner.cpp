/* Every page is a modeless dialog of a window class of its own: the page procedure
   sees every message and hands the rest to DefWindowProcA. */
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"

short RunPage(const char *className, WNDPROC pageProc, WORD templateId)
{
    WNDCLASSA wc = {};
    /* CS_NOCLOSE: a page has no close box, and Alt+F4 must not close it either; a
       page closed that way would hand on the previous page's result, and setup would
       go on where the user meant to stop. Pages close through their buttons. */
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE;
    wc.lpfnWndProc = pageProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = SetupState.ModuleInstance;
    wc.hCursor = LoadCursorA(0, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_MENU + 1);
    wc.lpszClassName = className;
    RegisterClassA(&wc);   /* fails harmlessly when the page is shown again */

    HWND page = CreateDialogParamA(SetupState.ModuleInstance, MAKEINTRESOURCEA(templateId),
                                   SetupState.BackdropWindow, 0, 0);
    if (!page)
        return PAGE_CANCEL;
    SendMessageA(page, WM_PAGE_INIT, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, 0, 0, 0) > 0)
        if (!IsDialogMessageA(page, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    return SetupState.LastPageResult;
}

void PageFrameCreate(HWND page, int queryScreen)
{
    char oldTitle[256], title[256];
    GetWindowTextA(page, oldTitle, sizeof oldTitle);
    CopyText(title, sizeof title, SetupState.ProductName);
    AppendText(title, sizeof title, " ");
    AppendText(title, sizeof title, oldTitle);
    SetWindowTextA(page, title);

    RECT r;
    GetWindowRect(page, &r);
    short width = (short)(r.right - r.left + 1);
    short height = (short)(r.bottom - r.top + 1);
    short screenWidth = SetupState.ScreenWidth, screenHeight = SetupState.ScreenHeight;
    if (queryScreen) {
        screenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
        screenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
    }
    SetWindowPos(page, HWND_TOP, (screenWidth - width) / 2, (screenHeight - height) / 2,
                 width, height, SWP_SHOWWINDOW);
}

LRESULT ClosePage(HWND page, short result)
{
    SetupState.LastPageResult = result;
    SendMessageA(page, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CancelPage(HWND page)
{
    SetupState.LastPageResult = PAGE_CANCEL;
    ShowAbortNotice(page);
    return ClosePage(page, PAGE_CANCEL);
}

void FormatPageText(HWND page, int controlId)
{
    char format[256], expanded[1024], text[256];
    GetDlgItemTextA(page, controlId, format, sizeof format);
    wsprintfA(expanded, format, SetupState.ProductName);
    CopyText(text, sizeof text, expanded);
    SetDlgItemTextA(page, controlId, text);
}

/* A box with the exclamation icon, owned by owner, or by the backdrop once owner has
   closed. After a page has closed, its quit request is already queued; a message box's
   own loop would end at it at once. It is held back until the box is read. */
static void ShowNotice(HWND owner, const char *text)
{
    if (!IsWindow(owner))
        owner = SetupState.BackdropWindow;
    MSG quit;
    int held = PeekMessageA(&quit, 0, WM_QUIT, WM_QUIT, PM_REMOVE);
    /* "Warning" until the script is loaded and the caption built */
    const char *caption = SetupState.Caption[0] ? SetupState.Caption : "Warning";
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONEXCLAMATION);
    if (held)
        PostQuitMessage((int)quit.wParam);
}

void ShowAbortNotice(HWND owner)
{
    char text[256];
    CopyText(text, sizeof text, SetupState.ProductName);
    AppendText(text, sizeof text, ResourceText(IDS_NOTCOMPLETED));
    ShowNotice(owner, text);
}

void TellFailure(HWND owner)
{
    char text[FAILURE_MESSAGE_SIZE];
    FailureMessage(text);
    ShowNotice(owner, text);
}

void WaitPumping(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    DWORD end = start + milliseconds;
    if (end <= start)
        return;
    int quitPending = 0;
    WPARAM quitCode = 0;
    MSG msg;
    do {
        if (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE) && msg.message == WM_QUIT) {
            quitPending = 1;
            quitCode = msg.wParam;
        }
    } while (GetTickCount() < end);
    if (quitPending)
        PostQuitMessage((int)quitCode);
}

int PollCancel(HWND page)
{
    MSG msg;
    while (PeekMessageA(&msg, page, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_COMMAND && msg.wParam == IDC_NEXT)
            return 0;
        if (msg.message == WM_QUIT) {
            /* the page closed; its quit request belongs to the page loop */
            PostQuitMessage((int)msg.wParam);
            return 1;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 1;
}
