/* WININIT.INI holds "TARGET=SOURCE" lines; TARGET NUL deletes SOURCE. Several NUL
   lines share one key, so an entry is added by rewriting the whole section with the
   new line after the old ones: other programs' entries stay as they were. */
#include <windows.h>
#include "wininit.h"
#include "path_names.h"
#include "bounded_text.h"

#define SHORT_PATH_SIZE 128

static int WininitPath(char *path, int size)
{
    UINT length = GetWindowsDirectoryA(path, size);
    if (length == 0 || (int)length + 13 >= size)
        return 0;
    AppendText(path, size, "\\WININIT.INI");
    return 1;
}

/* Appends "key=value" to the [rename] section, keeping every line already there. */
static int AddRenameLine(const char *key, const char *value)
{
    char ini[96];
    if (!WininitPath(ini, sizeof ini))
        return 0;
    /* the section cannot hold more than the file does */
    DWORD fileSize = 0;
    HANDLE file = CreateFileA(ini, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (file != INVALID_HANDLE_VALUE) {
        fileSize = GetFileSize(file, 0);
        CloseHandle(file);
        if (fileSize == INVALID_FILE_SIZE)
            return 0;
    }
    DWORD lineSize = (DWORD)(lstrlenA(key) + 1 + lstrlenA(value) + 1);
    DWORD size = fileSize + lineSize + 2;
    char *lines = (char *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
    if (!lines)
        return 0;
    DWORD used = GetPrivateProfileSectionA("rename", lines, size, ini);
    char *end = lines + used;   /* each line ends in a NUL; the list in a second one */
    CopyText(end, (int)lineSize, key);
    AppendText(end, (int)lineSize, "=");
    AppendText(end, (int)lineSize, value);
    end[lineSize] = 0;
    int ok = WritePrivateProfileSectionA("rename", lines, ini) != 0;
    GlobalFree(lines);
    WritePrivateProfileStringA(0, 0, 0, ini);   /* flush the profile cache to disk */
    return ok;
}

int ScheduleRenameAtRestart(const char *target, const char *source)
{
    char shortTarget[SHORT_PATH_SIZE], shortSource[SHORT_PATH_SIZE];
    if (!ShortPath(target, shortTarget, sizeof shortTarget) ||
        !ShortPath(source, shortSource, sizeof shortSource))
        return 0;
    return AddRenameLine(shortTarget, shortSource);
}

int ScheduleDeleteAtRestart(const char *path)
{
    char shortPath[SHORT_PATH_SIZE];
    if (!ShortPath(path, shortPath, sizeof shortPath))
        return 0;
    return AddRenameLine("NUL", shortPath);
}
