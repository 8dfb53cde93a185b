#include <windows.h>
#include "refusals.h"
#include "../shared/product_keys.h"
#include "../shared/registry_values.h"
#include "../shared/mouse_app.h"
#include "../shared/path_text.h"
#include "../shared/path_names.h"
#include "../shared/bounded_text.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"

/* A start-up command whose program and uninstaller are both gone from the disk: nothing
   could remove it any more, and it must not keep setup from running. */
static int NothingLeftOnDisk(const char *command)
{
    static const char *const programs[] = { "KXMAIN.EXE", "UNINSTAL.EXE" };
    char dir[MAX_PATH], path[MAX_PATH + 16];
    if (!DirectoryOfCommand(command, "KXMAIN.EXE", dir, sizeof dir))
        return 0;   /* a command of another form is taken at its word */
    for (int i = 0; i < 2; i++) {
        DWORD attributes;
        JoinPath(path, sizeof path, dir, programs[i]);   /* MAX_PATH and 16 hold it */
        if (!PathAttributes(path, &attributes) || attributes != INVALID_FILE_ATTRIBUTES)
            return 0;   /* there, or it cannot be told: the command is taken at its word */
    }
    return 1;
}

int IsMouseAppRegistered(void)
{
    char *command;
    /* a Run value that cannot be read is taken as none: setup then installs over what
       is there, and the fresh SETUP.INF keeps the record of the first installation */
    if (!ReadRegValueAt(HKEY_LOCAL_MACHINE, RUN_KEY, MOUSE_APP_TITLE, &command) || !command)
        return 0;
    int found = ContainsText(command, "KXMAIN.EXE") && !NothingLeftOnDisk(command);
    FreeRegText(command);
    return found;
}

/* A refusal is no failure of the platform's: it is noted without an error number. */
static int Refuse(unsigned int textId)
{
    SetLastError(NO_ERROR);
    return NoteFailure(textId, "");
}

int MayRun(void)
{
    if (FindWindowA(0, MOUSE_APP_TITLE) || IsMouseAppRegistered())
        return Refuse(IDS_OTHERMOUSE);
    if (!(GetVersion() & 0x80000000))
        return Refuse(IDS_WRONGPLATFORM);
    return 1;
}
