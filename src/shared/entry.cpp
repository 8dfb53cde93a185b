/* The programs' own start-up: no C runtime start-up code, which would need a newer
   processor than Windows 95 runs on. Skips the program name and calls WinMain. */
#include <windows.h>

extern "C" void WinMainCRTStartup(void)
{
    char *tail = GetCommandLineA();
    if (*tail == '"') {
        for (tail++; *tail && *tail != '"'; tail++)
            ;
        if (*tail == '"')
            tail++;
    } else {
        while (*tail && *tail != ' ' && *tail != '\t')
            tail++;
    }
    while (*tail == ' ' || *tail == '\t')
        tail++;
    ExitProcess(WinMain(GetModuleHandleA(0), 0, tail, SW_SHOWDEFAULT));
}
