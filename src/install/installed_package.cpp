#include <windows.h>
#include "installed_package.h"
#include "../shared/registry_values.h"
#include "../shared/product_keys.h"
#include "../shared/mouse_app.h"
#include "../shared/path_text.h"
#include "../shared/path_names.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"

int FindInstalledPackage(char *dir, int *found)
{
    char *command, path[MAX_PATH];
    int uninstaller = 0, script = 0;
    *found = 0;
    if (!ReadRegValueAt(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", &command))
        return NoteKeyFailure(IDS_CANNOTREAD, HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    int named = command && DirectoryOfCommand(command, "UNINSTAL.EXE", dir, MAX_PATH);
    FreeRegText(command);
    if (!named)
        return 1;
    int told = JoinPath(path, sizeof path, dir, "UNINSTAL.EXE") && IsPathThere(path, &uninstaller) &&
               JoinPath(path, sizeof path, dir, "SETUP.INF") && IsPathThere(path, &script);
    *found = told && uninstaller && script;
    return told;
}

int CanRecordIn(const char *dir)
{
    char path[MAX_PATH];
    if (!JoinPath(path, sizeof path, dir, "SETUP.INF"))
        return 0;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(file);   /* only opened: nothing written to lose */
    return 1;
}
