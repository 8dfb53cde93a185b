/* The mouse application is found by its window title; it ends itself on WM_CLOSE. */
#include <windows.h>
#include "mouse_app.h"
#include "product_keys.h"
#include "bounded_text.h"
#include "command_line.h"
#include "path_text.h"

void CloseMouseApp(void)
{
    HWND app = FindWindowA(0, MOUSE_APP_TITLE);
    if (app)
        SendMessageA(app, WM_CLOSE, 0, 0);
}

int ProgramOfCommand(const char *command, char *program, int size)
{
    if (command[0] == '"') {
        if (CommandWord(command, program, size))
            return 1;
        program[0] = 0;
        return 0;
    }
    /* written unquoted, as by earlier versions: a directory with blanks stays whole */
    if (lstrlenA(command) >= size) {
        program[0] = 0;
        return 0;
    }
    CopyText(program, size, command);
    int length = lstrlenA(program), argument = lstrlenA(" -startup");
    if (length >= argument && SameTextNoCase(program + length - argument, " -startup"))
        program[length - argument] = 0;
    return 1;
}

int DirectoryOfCommand(const char *command, const char *name, char *dir, int size)
{
    char program[MAX_PATH];
    return ProgramOfCommand(command, program, sizeof program) &&   /* cut, it would name
                                                                       another place */
           SameTextNoCase(LastPartOf(program), name) && LastPartOf(program) != program &&
           DirectoryOf(program, dir, size);
}
