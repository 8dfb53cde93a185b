#include <windows.h>
#include "refusals.h"
#include "../shared/product_keys.h"
#include "../shared/registry_values.h"
#include "../shared/mouse_app.h"
#include "../shared/path_text.h"
#include "../shared/bounded_text.h"
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
        JoinPath(path, sizeof path, dir, programs[i]);   /* MAX_PATH and 16 hold it */
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
            return 0;
    }
    return 1;
}

int IsMouseAppRegistered(void)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN_KEY, 0,
                      KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    char *command = ReadWholeRegText(key, MOUSE_APP_TITLE);   /* whatever its length */
    RegCloseKey(key);
    if (!command)
        return 0;
    int found = ContainsText(command, "KXMAIN.EXE") && !NothingLeftOnDisk(command);
    LocalFree(command);
    return found;
}

unsigned int RefusalText(void)
{
    if (FindWindowA(0, MOUSE_APP_TITLE) || IsMouseAppRegistered())
        return IDS_OTHERMOUSE;
    if (!(GetVersion() & 0x80000000))
        return IDS_WRONGPLATFORM;
    return 0;
}
