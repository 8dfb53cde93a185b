#include <windows.h>
#include "dir_entries.h"
#include "bounded_text.h"
#include "path_text.h"

#define PATH_SIZE (MAX_PATH + 16)

int ForEachEntry(const char *dir, const char *pattern,
                 void (*each)(const char *path, int isDir, void *context), void *context)
{
    char path[PATH_SIZE];
    if (!JoinPath(path, sizeof path, dir, pattern))
        return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
               error == ERROR_NO_MORE_FILES;
    }
    do {
        if (found.cFileName[0] == '.')
            continue;
        /* a path longer than this is none setup made: its own stay below 128 bytes */
        if (JoinPath(path, sizeof path, dir, found.cFileName))
            each(path, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, context);
    } while (FindNextFileA(search, &found));
    FindClose(search);   /* only searched: nothing to lose */
    return 1;
}
