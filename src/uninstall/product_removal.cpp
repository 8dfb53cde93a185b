/* The mouse application's entries: the Mouse control panel's page, the start-up value
   (only when it starts this directory's KXMAIN.EXE) and the uninstall entry. */
#include "uninstall.h"
#include "../shared/product_keys.h"
#include "../shared/registry_values.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/path_names.h"

#define COMMAND_SIZE 256

static void Require(int done)
{
    if (!done)
        NoteFailure();
}

/* The program of a start-up command: the quoted part of "DIR\KXMAIN.EXE" -startup,
   or DIR\KXMAIN.EXE -startup without its argument. */
static void ProgramOfCommand(const char *command, char *program, int size)
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

static int StartsOwnMouseApp(const char *command)
{
    char program[COMMAND_SIZE];
    ProgramOfCommand(command, program, sizeof program);
    char *name = program;
    for (char *p = program; *p; p++)
        if (*p == '\\')
            name = p + 1;
    if (name == program || !SameTextNoCase(name, "KXMAIN.EXE"))
        return 0;
    name[-1] = 0;   /* program now holds the directory */
    return SamePlace(program, SetupState.SetupDir);
}

static void RemoveRunValue(void)
{
    HKEY run;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, RUN_KEY, &run))
        return;
    char command[COMMAND_SIZE];
    if (ReadRegText(run, MOUSE_APP_TITLE, command, sizeof command) && StartsOwnMouseApp(command))
        Require(DeleteRegValue(run, MOUSE_APP_TITLE));
    RegCloseKey(run);
}

/* The handler list's own name goes when it still names the page. */
static void RemoveHandlerName(void)
{
    HKEY handlers;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, HANDLERS_KEY, &handlers))
        return;
    char name[COMMAND_SIZE];
    if (ReadRegText(handlers, 0, name, sizeof name) && SameTextNoCase(name, PAGE_HANDLER_NAME))
        Require(DeleteRegValue(handlers, 0));
    RegCloseKey(handlers);
}

void RemoveProductRegistration(void)
{
    Require(DeleteRegTree(HKEY_CLASSES_ROOT, PAGE_CLSID_KEY));
    Require(DeleteRegTree(HKEY_LOCAL_MACHINE, HANDLERS_KEY "\\" PAGE_HANDLER_NAME));
    RemoveHandlerName();   /* the handler list itself stays: other pages may use it */
    RemoveRunValue();
    Require(DeleteRegTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY));
}
