/* The mouse application is found by its window title; it ends itself on WM_CLOSE. */
#include <windows.h>
#include "mouse_app.h"
#include "product_keys.h"

void CloseMouseApp(void)
{
    HWND app = FindWindowA(0, MOUSE_APP_TITLE);
    if (app)
        SendMessageA(app, WM_CLOSE, 0, 0);
}
