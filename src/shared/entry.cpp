/* The programs' own start-up: no C runtime start-up code, which would need a newer
   processor than Windows 95 runs on. Skips the program name and calls WinMain. */
#include <windows.h>
#include "command_line.h"

extern "C" void WinMainCRTStartup(void)
{
    char *line = GetCommandLineA();
    const char *after = CommandWord(line, 0, 0);
    /* a program name whose quote is not closed takes the whole line: no options */
    char *tail = line + (after ? SkipCommandBlanks(after) - line : lstrlenA(line));
    ExitProcess(WinMain(GetModuleHandleA(0), 0, tail, SW_SHOWDEFAULT));
}
