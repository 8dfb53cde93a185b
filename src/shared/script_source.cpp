/* The script as SETUP.EXE reads it for the loader's rules (script_rules.h): the file
   read whole, its values, the program-files directory from the registry, and the file
   table's memory. */
#include "script_source.h"
#include "default_path.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "ini_file.h"
#include "path_text.h"
#include "registry_values.h"
#include "product_keys.h"

static ProfileText Script;   /* the script's text while it is loaded */

int OpenScriptSource(const char *path)
{
    return ReadIniFile(path, &Script);
}

void CloseScriptSource(void)
{
    FreeIniFile(&Script);
}

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
    /* what was had of the two blocks stays for ReleaseFileTable, as after a load */
    DWORD bytes = (DWORD)files * FILE_ENTRY_SIZE + GROUP_ITEM_COUNT * GROUP_ITEM_SIZE;
    SetupState.FileTableHandle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!SetupState.FileTableHandle)
        return 0;
    SetupState.FileTableBase = (BYTE *)GlobalLock(SetupState.FileTableHandle);
    SetupState.FileChecks = (FileCheck *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT,
                                                     ((DWORD)files + 1) * sizeof(FileCheck));
    return SetupState.FileTableBase && SetupState.FileChecks;
}
