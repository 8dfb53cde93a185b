/* The backdrop covers the screen (task bar included) with 255 bands from pure blue down
   to almost black, the title banner near the top and, unless OEM is set, the maker's
   credit line near the bottom. The first paint dissolves the banners in. */
#include "backdrop.h"
#include "../shared/setup_state.h"
#include "../../resources/resource.h"

static LRESULT CALLBACK BackdropProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
static void PaintBackdrop(HWND window);
static void BlitBitmap(HDC dc, WORD bitmapId, const RECT *rect, int dissolve);

const unsigned char DissolveOrder[8][8] = {
    { 44, 16, 24, 36, 46, 18, 26, 38 },
    { 48,  0,  8, 56, 50,  2, 10, 58 },
    { 28, 32, 40, 20, 30, 34, 42, 22 },
    { 12, 60, 52,  4, 14, 62, 54,  6 },
    { 47, 19, 27, 39, 45, 17, 25, 37 },
    { 51,  3, 11, 59, 49,  1,  9, 57 },
    { 31, 35, 43, 23, 29, 33, 41, 21 },
    { 15, 63, 55,  7, 13, 61, 53,  5 },
};

short BandEdge(int band, short screenHeight)
{
    /* 1/255 and the products in single precision; the stores round what the
       floating-point unit holds in extended precision */
    volatile float factor = (float)screenHeight * 0.003921569f;
    volatile float edge = (float)band * factor;
    return (short)(int)edge;
}

int CreateBackdrop(void)
{
    WNDCLASSA wc = {};   /* no background brush: the paint covers the whole client area */
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = SetupState.ModuleInstance;
    wc.hCursor = LoadCursorA(0, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = "SetupMain";
    RegisterClassA(&wc);

    SetupState.BackdropWindow = CreateWindowExA(0, "SetupMain", "Setup",
                                                WS_POPUP | WS_VISIBLE | WS_BORDER,
                                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                                CW_USEDEFAULT, 0, 0, SetupState.ModuleInstance, 0);
    if (!SetupState.BackdropWindow)
        return 0;
    MSG msg;
    while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {   /* the first paint happens here */
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 1;
}

static LRESULT CALLBACK BackdropProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        SetWindowPos(window, HWND_TOPMOST, 0, 0, SetupState.ScreenWidth, SetupState.ScreenHeight,
                     SWP_SHOWWINDOW);
        return 0;
    case WM_PAINT:
        PaintBackdrop(window);
        return 0;
    case WM_DESTROY:
        return 0;   /* no quit message: the page loops go on */
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

static void PaintBands(HDC dc)
{
    for (int i = 0; i < 255; i++) {
        RECT band = { 0, BandEdge(i, SetupState.ScreenHeight), SetupState.ScreenWidth,
                      BandEdge(i + 1, SetupState.ScreenHeight) };
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255 - i));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

static void PaintBanner(HDC dc, const RECT *painted, WORD bitmapId, RECT test)
{
    RECT overlap;
    if (IntersectRect(&overlap, &test, painted))
        BlitBitmap(dc, bitmapId, &test, SetupState.DissolvePending);
}

static void PaintBackdrop(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintBands(dc);
    RECT top = { 20, 10, 320, 60 };
    PaintBanner(dc, &ps.rcPaint, IDB_TITLEBANNER, top);
    if (!SetupState.OEM) {
        RECT bottom = { 20, SetupState.ScreenHeight - 60, 600, SetupState.ScreenHeight - 10 };
        PaintBanner(dc, &ps.rcPaint, IDB_CREDITLINE, bottom);
    }
    SetupState.DissolvePending = 0;
    EndPaint(window, &ps);
}

static void CopyPixel(HDC dc, HDC source, int x0, int y0, int x, int y)
{
    COLORREF colour = GetPixel(source, x, y);
    if (colour != MAGENTA)
        SetPixel(dc, x0 + x, y0 + y, colour);
}

/* Draws a bitmap resource at the rectangle's top-left corner pixel by pixel, leaving
   out its magenta pixels; with dissolve set, in 64 passes in DissolveOrder. */
static void BlitBitmap(HDC dc, WORD bitmapId, const RECT *rect, int dissolve)
{
    HDC source = CreateCompatibleDC(dc);
    HBITMAP bitmap = LoadBitmapA(SetupState.ModuleInstance, MAKEINTRESOURCEA(bitmapId));
    if (!bitmap) {
        DeleteDC(source);
        return;
    }
    HGDIOBJ old = SelectObject(source, bitmap);
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    int w = info.bmWidth, h = info.bmHeight;
    for (int pass = 0; pass < (dissolve ? 64 : 1); pass++)
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
                if (!dissolve || DissolveOrder[y % 8][x % 8] == pass)
                    CopyPixel(dc, source, rect->left, rect->top, x, y);
    SelectObject(source, old);
    DeleteObject(bitmap);
    DeleteDC(source);
}
