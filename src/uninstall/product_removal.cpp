/* The mouse application's entries: the Mouse control panel's page, the start-up value
   and the uninstall entry, each only while it names this directory: an entry naming
   another directory belongs to another installation of the package. */
#include "uninstall.h"
#include "product_removal.h"
#include "../shared/product_keys.h"
#include "../shared/registry_values.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/path_names.h"
#include "../shared/mouse_app.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

#define COMMAND_SIZE 300

/* 1 when a command (the uninstall entry's, the start-up command, the page's server)
   runs the program name from this directory. */
static int CommandInOwnDirectory(const char *command, const char *name)
{
    char dir[COMMAND_SIZE];
    return command && DirectoryOfCommand(command, name, dir, sizeof dir) &&
           SamePlace(dir, SetupState.InstallDir);
}

/* What a value of a key holds: 1 and *text (0 when the key or the value is not there);
   0, noted, when it cannot be read. */
static int ReadValueOf(HKEY root, const char *path, const char *name, char **text)
{
    return ReadRegValueAt(root, path, name, text) || NoteKeyFailure(IDS_CANNOTREADKEY, root, path);
}

/* The program the uninstall entry runs, when it is another directory's that is still
   on the disk: then that installation owns the device, system.ini and the files
   outside its directory, and this copy leaves them to it. When that cannot be told,
   nothing shared is touched. */
int FindRegisteredInstallation(void)
{
    char *command, program[COMMAND_SIZE];
    UninstallState.OwnsSharedState = 0;
    if (!ReadValueOf(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", &command))
        return 0;
    int told = 1, there = 0;
    /* an entry naming no program is nobody's */
    if (command && !CommandInOwnDirectory(command, "UNINSTAL.EXE") &&
        ProgramOfCommand(command, program, sizeof program))
        told = IsPathThere(program, &there);
    UninstallState.OwnsSharedState = told && !there;
    FreeRegText(command);
    return told;
}

/* 1 and *own 1 when the page is this directory's, or names no server at all. */
static int PageIsOwn(int *own)
{
    char *server;
    if (!ReadValueOf(HKEY_CLASSES_ROOT, PAGE_CLSID_KEY "\\InProcServer32", 0, &server))
        return 0;
    *own = !server || CommandInOwnDirectory(server, "KXPAGE.DLL");
    FreeRegText(server);
    return 1;
}

/* The value goes when it holds a text that test passes (with name, the program it must
   run from this directory); 1, or 0 noted. */
static int RemoveValueOf(const char *path, const char *value, const char *name,
                         int (*test)(const char *text, const char *name))
{
    HKEY key;
    char *text = 0;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, path, &key))
        return 0;
    int done = !key || ReadRegValue(key, value, &text) || KeyNotRemoved(HKEY_LOCAL_MACHINE, path);
    if (done && text && test(text, name) && !DeleteRegValue(key, value))
        done = KeyNotRemoved(HKEY_LOCAL_MACHINE, path);
    FreeRegText(text);
    CloseRegKey(key);
    return done;
}

int RemoveProductRegistration(void)
{
    int own, done = PageIsOwn(&own);
    if (done && own) {
        done = DeleteRegTree(HKEY_CLASSES_ROOT, PAGE_CLSID_KEY);
        done = DeleteRegTree(HKEY_LOCAL_MACHINE, HANDLERS_KEY "\\" PAGE_HANDLER_NAME) && done;
        /* the handler list's own name goes when it still names the page; the list
           itself stays: other pages may use it */
        done = RemoveValueOf(HANDLERS_KEY, 0, PAGE_HANDLER_NAME, SameTextNoCase) && done;
    }
    return RemoveValueOf(RUN_KEY, MOUSE_APP_TITLE, "KXMAIN.EXE", CommandInOwnDirectory) && done;
}

int OwnUninstallEntry(int *own)
{
    char *command;
    if (!ReadValueOf(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", &command))
        return 0;
    *own = CommandInOwnDirectory(command, "UNINSTAL.EXE");
    FreeRegText(command);
    return 1;
}

int RemoveUninstallEntry(void)
{
    int own;
    if (!OwnUninstallEntry(&own))
        return 0;
    return !own || DeleteRegTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
}
