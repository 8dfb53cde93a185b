// Throwaway GUI run that lets a fresh Wine prefix start its desktop before the tests.
#include <windows.h>

int main()
{
    HWND w = CreateWindowExA(0, "STATIC", "warm-up", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                             0, 0, GetModuleHandleA(0), 0);
    DWORD end = GetTickCount() + 300;
    MSG msg;
    while (GetTickCount() < end)
        while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    DestroyWindow(w);
    return w ? 0 : 1;
}
