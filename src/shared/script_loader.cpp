/* The setup-script loader's platform side: where the script is, the private-profile
   reads of it, the program-files directory and the file table's memory. The rules of
   the load are in script_rules.cpp. */
#include "script_loader.h"
#include "script_rules.h"
#include "default_path.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "ini_file.h"
#include "path_text.h"
#include "registry_values.h"
#include "product_keys.h"

static char ScriptPath[MAX_PATH + 16];
static ProfileText Script;   /* the script's text while it is loaded */

void ReadScriptText(const char *section, const char *key, const char *fallback,
                    char *buf, int size)
{
    char work[256];
    ProfileString(&Script, section, key, fallback, work, sizeof work);
    CopyText(buf, size, work);
}

int ReadScriptNumber(const char *section, const char *key, int fallback)
{
    return (int)ProfileNumber(&Script, section, key, fallback);
}

int FindProgramDir(char *dir, int size)
{
    /* Some Windows versions answer a path too long for the buffer with one cut to a
       character less than the buffer, which looks whole: the path is read into a
       buffer larger than any path, so that a whole one that just fits is told apart. */
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(0, path, sizeof path);
    dir[0] = 0;
    if (length == 0 || length >= (DWORD)size || length >= sizeof path)
        return 0;
    path[length] = 0;
    return DirectoryOf(path, dir, size);   /* the root keeps its backslash: "C:\\" */
}

/* A script that is not there loads the defaults; one that is there and cannot be read
   is a reading error. */
int LoadScriptFrom(const char *dir)
{
    if (!JoinPath(ScriptPath, sizeof ScriptPath, dir, "SETUP.INF") ||
        !ReadIniFile(ScriptPath, &Script)) {
        CopyText(SetupState.ProductName, sizeof SetupState.ProductName, DefaultProductName);
        BuildCaption();   /* for the reading-error message */
        return 0;
    }
    int loaded = LoadScriptValues();
    FreeIniFile(&Script);
    return loaded;
}

/* The program-files directory; the empty text when the registry does not give one
   that fits (the page then shows the destination without it, to be changed). */
static void ReadProgramFilesDir(char *dir, int size)
{
    HKEY key;
    if (!OpenRegKey(HKEY_LOCAL_MACHINE, CURRENT_VERSION, &key) || !key) {
        CopyText(dir, size, "C:\\Program Files");
        return;
    }
    char *value;
    if (ReadRegValue(key, "ProgramFilesDir", &value) && value && lstrlenA(value) < size)
        CopyText(dir, size, value);
    FreeRegText(value);
    CloseRegKey(key);
}

void ApplyDefaultPath(const char *value)
{
    /* the registry is asked only for a value that is no drive path */
    char programFiles[80] = "";
    if (!IsDrivePath(value))
        ReadProgramFilesDir(programFiles, sizeof programFiles);
    ComposeOfferedDir(SetupState.OfferedDir, sizeof SetupState.OfferedDir, value,
                      SetupState.WindowsDir[0], programFiles);
}

int AllocateFileTable(short files)
{
    DWORD bytes = (DWORD)files * FILE_ENTRY_SIZE + GROUP_ITEM_COUNT * GROUP_ITEM_SIZE;
    SetupState.FileTableHandle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!SetupState.FileTableHandle)
        return 0;
    SetupState.FileTableBase = (BYTE *)GlobalLock(SetupState.FileTableHandle);
    if (!SetupState.FileTableBase) {
        GlobalFree(SetupState.FileTableHandle);
        SetupState.FileTableHandle = 0;
        return 0;
    }
    return 1;
}

void ReleaseFileTable(void)
{
    if (!SetupState.FileTableHandle)
        return;
    GlobalUnlock(SetupState.FileTableHandle);
    GlobalFree(SetupState.FileTableHandle);
    SetupState.FileTableHandle = 0;
    SetupState.FileTableBase = 0;
}

/* 0 when the program's own path does not fit SetupDir: cut, it would name a parent
   directory, and the script, the prior-value record and the driver-only install would
   all go to the wrong place. */
int LoadSetupScript(void)
{
    if (!FindProgramDir(SetupState.SetupDir, sizeof SetupState.SetupDir)) {
        CopyText(SetupState.ProductName, sizeof SetupState.ProductName, DefaultProductName);
        BuildCaption();   /* for the reading-error message */
        return 0;
    }
    return LoadScriptFrom(SetupState.SetupDir);
}

/* 0 when the Windows directory's name does not fit: system.ini and the Windows
   targets would otherwise be looked for in the root of the current drive. */
static int FindWindowsDir(void)
{
    UINT length = GetWindowsDirectoryA(SetupState.WindowsDir, sizeof SetupState.WindowsDir);
    if (length == 0 || length >= sizeof SetupState.WindowsDir) {
        SetupState.WindowsDir[0] = 0;
        return 0;
    }
    return 1;
}

int LoadScriptAndWindowsDir(void)
{
    int windowsFound = FindWindowsDir();
    return LoadSetupScript() && windowsFound;
}

int LoadScriptFromAndWindowsDir(const char *dir)
{
    int windowsFound = FindWindowsDir();
    return LoadScriptFrom(dir) && windowsFound;
}
