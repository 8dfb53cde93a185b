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
        return NoteKeyFailure(IDS_CANNOTREADKEY, HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    int named = command && DirectoryOfCommand(command, "UNINSTAL.EXE", dir, MAX_PATH);
    FreeRegText(command);
    if (!named)
        return 1;
    int told = JoinPath(path, sizeof path, dir, "UNINSTAL.EXE") && IsPathThere(path, &uninstaller) &&
               JoinPath(path, sizeof path, dir, "SETUP.INF") && IsPathThere(path, &script);
    *found = told && uninstaller && script;
    return told;
}

int CanRecordIn(const char *dir, int *can)
{
    char path[MAX_PATH];
    *can = 0;
    if (!JoinPath(path, sizeof path, dir, "SETUP.INF"))
        return 1;   /* none that setup could have read */
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, 0, 0);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);   /* only opened: nothing written to lose */
        *can = 1;
        return 1;
    }
    DWORD error = GetLastError();
    /* a medium that cannot be written says so; anything else (a file held by another
       program) is a failure to tell, not a CD */
    return error == ERROR_WRITE_PROTECT || error == ERROR_ACCESS_DENIED ||
           NoteFailure(IDS_CANNOTRECORD, path);
}
