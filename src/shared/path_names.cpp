#include <windows.h>
#include "path_names.h"
#include "bounded_text.h"

#define NAME_SIZE 260

int WholePath(const char *path, char *whole, int size)
{
    char *filePart;
    DWORD length = GetFullPathNameA(path, (DWORD)size, whole, &filePart);
    return length > 0 && length < (DWORD)size;
}

int ShortPath(const char *given, char *shortPath, int size)
{
    char path[NAME_SIZE];
    if (!WholePath(given, path, sizeof path))
        return 0;
    DWORD length = GetShortPathNameA(path, shortPath, (DWORD)size);
    if (length > 0 && length < (DWORD)size)
        return 1;
    const char *name = path;   /* not there yet: its directory's short form */
    for (const char *p = path; *p; p++)
        if (*p == '\\')
            name = p + 1;
    char dir[NAME_SIZE];
    if (name == path)
        return 0;
    CopyText(dir, (int)(name - path), path);   /* without the backslash */
    length = GetShortPathNameA(dir, shortPath, (DWORD)size);
    if (length == 0 || length >= (DWORD)size || lstrlenA(shortPath) + 1 + lstrlenA(name) >= size)
        return 0;
    AppendText(shortPath, size, "\\");
    AppendText(shortPath, size, name);
    return 1;
}

int SamePlace(const char *a, const char *b)
{
    char wholeA[NAME_SIZE], wholeB[NAME_SIZE];
    if (!WholePath(a, wholeA, sizeof wholeA) || !WholePath(b, wholeB, sizeof wholeB))
        return 0;
    if (SameTextNoCase(wholeA, wholeB))
        return 1;
    char shortA[NAME_SIZE], shortB[NAME_SIZE];
    return ShortPath(wholeA, shortA, sizeof shortA) && ShortPath(wholeB, shortB, sizeof shortB) &&
           SameTextNoCase(shortA, shortB);
}
