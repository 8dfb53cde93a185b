/* The mouse application is found by its window title; it ends itself on WM_CLOSE. */
#include <windows.h>
#include "mouse_app.h"
#include "product_keys.h"
#include "bounded_text.h"

void CloseMouseApp(void)
{
    HWND app = FindWindowA(0, MOUSE_APP_TITLE);
    if (app)
        SendMessageA(app, WM_CLOSE, 0, 0);
}

void ProgramOfCommand(const char *command, char *program, int size)
{
    if (command[0] == '"') {
        CopyText(program, size, command + 1);
        for (char *p = program; *p; p++)
            if (*p == '"') {
                *p = 0;
                break;
            }
        return;
    }
    CopyText(program, size, command);
    int length = lstrlenA(program), argument = lstrlenA(" -startup");
    if (length >= argument && SameTextNoCase(program + length - argument, " -startup"))
        program[length - argument] = 0;
}

int DirectoryOfCommand(const char *command, const char *name, char *dir, int size)
{
    if (lstrlenA(command) >= size)
        return 0;   /* cut, it would name another place */
    ProgramOfCommand(command, dir, size);
    char *file = dir;
    for (char *p = dir; *p; p++)
        if (*p == '\\')
            file = p + 1;
    if (file == dir || !SameTextNoCase(file, name))
        return 0;
    file[-1] = 0;
    return 1;
}
