/* The mouse application's entries: the Mouse control panel's page, the start-up value
   and the uninstall entry, each only while it names this directory: an entry naming
   another directory belongs to another installation of the package. */
#include "uninstall.h"
#include "../shared/product_keys.h"
#include "../shared/registry_values.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/path_names.h"
#include "../shared/mouse_app.h"

#define COMMAND_SIZE 300

int CommandInOwnDirectory(const char *command, const char *name)
{
    char dir[COMMAND_SIZE];
    return DirectoryOfCommand(command, name, dir, sizeof dir) &&
           SamePlace(dir, SetupState.InstallDir);
}

/* What a value of a key holds: 1 and the text; 0 when the key or the value is not
   there (or cannot be read whole: then it is nobody's to remove); -1, noted, when the
   key is there and cannot be opened. */
static int ReadValueOf(HKEY root, const char *path, const char *name, char *text, int size)
{
    HKEY key;
    int opened = OpenRegKeyIfThere(root, path, &key);
    if (opened < 0)
        return KeyNotRemoved(root, path) - 1;
    if (!opened)
        return 0;
    int read = ReadRegText(key, name, text, size);
    RegCloseKey(key);
    return read;
}

/* The program the uninstall entry runs, when it is another directory's that is still
   on the disk: then that installation owns the device, system.ini and the files
   outside its directory, and this copy leaves them to it. */
void FindRegisteredInstallation(void)
{
    char command[COMMAND_SIZE], program[COMMAND_SIZE];
    int entry = ReadValueOf(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", command,
                            sizeof command);
    UninstallState.OwnsSharedState = entry >= 0;   /* when unknown, nothing shared is touched */
    if (entry <= 0 || CommandInOwnDirectory(command, "UNINSTAL.EXE"))
        return;
    ProgramOfCommand(command, program, sizeof program);
    UninstallState.OwnsSharedState = GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES;
}

/* The page is this directory's, or names no server at all. */
static int PageIsOwn(void)
{
    char server[COMMAND_SIZE];
    int named = ReadValueOf(HKEY_CLASSES_ROOT, PAGE_CLSID_KEY "\\InProcServer32", 0, server,
                            sizeof server);
    return !named || (named > 0 && CommandInOwnDirectory(server, "KXPAGE.DLL"));
}

static void RemoveTree(HKEY root, const char *path)
{
    if (!DeleteRegTree(root, path))
        KeyNotRemoved(root, path);
}

/* The handler list's own name goes when it still names the page. */
static void RemoveHandlerName(void)
{
    HKEY handlers;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, HANDLERS_KEY, &handlers))
        return;
    char name[COMMAND_SIZE];
    if (ReadRegText(handlers, 0, name, sizeof name) && SameTextNoCase(name, PAGE_HANDLER_NAME) &&
        !DeleteRegValue(handlers, 0))
        KeyNotRemoved(HKEY_LOCAL_MACHINE, HANDLERS_KEY);
    RegCloseKey(handlers);
}

static void RemoveRunValue(void)
{
    HKEY run;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, RUN_KEY, &run))
        return;
    char command[COMMAND_SIZE];
    if (ReadRegText(run, MOUSE_APP_TITLE, command, sizeof command) &&
        CommandInOwnDirectory(command, "KXMAIN.EXE") && !DeleteRegValue(run, MOUSE_APP_TITLE))
        KeyNotRemoved(HKEY_LOCAL_MACHINE, RUN_KEY);
    RegCloseKey(run);
}

void RemoveProductRegistration(void)
{
    if (PageIsOwn()) {
        RemoveTree(HKEY_CLASSES_ROOT, PAGE_CLSID_KEY);
        RemoveTree(HKEY_LOCAL_MACHINE, HANDLERS_KEY "\\" PAGE_HANDLER_NAME);
        RemoveHandlerName();   /* the handler list itself stays: other pages may use it */
    }
    RemoveRunValue();
}

int OwnUninstallEntry(void)
{
    char command[COMMAND_SIZE];
    return ReadValueOf(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", command,
                       sizeof command) > 0 &&
           CommandInOwnDirectory(command, "UNINSTAL.EXE");
}

void RemoveUninstallEntry(void)
{
    if (OwnUninstallEntry())
        RemoveTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
}
