/* The programs' own start-up: no C runtime start-up code, which would need a newer
   processor than Windows 95 runs on. Sets the error mode, skips the program name and
   calls WinMain. */
#include <windows.h>
#include "command_line.h"

extern "C" void WinMainCRTStartup(void)
{
    /* before any file call: a drive without its disk is told by the program's own
       question, not first by the system's critical-error box */
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    char *line = GetCommandLineA();
    const char *after = CommandWord(line, 0, 0);
    /* a program name whose quote is not closed takes the whole line: no options */
    char *tail = line + (after ? SkipCommandBlanks(after) - line : lstrlenA(line));
    ExitProcess(WinMain(GetModuleHandleA(0), 0, tail, SW_SHOWDEFAULT));
}
