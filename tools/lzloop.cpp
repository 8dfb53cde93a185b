// Benchmark floors: expands a list of files with the LZ expansion service in a plain
// loop, with nothing around it; with --replace, each over an existing target as
// SETUP.EXE replaces a file, and nothing more: into a new temporary file beside the
// target, the old file moved aside, the new one moved in, the old one deleted.
//   lzloop [--replace] LIST   (each line: source path, a tab, target path)
#include <windows.h>
#include <lzexpand.h>
#include <stdio.h>
#include <string.h>

// The source expanded into target by way of a temporary file in its directory.
static void Replace(INT source, const char *target, int n)
{
    char dir[MAX_PATH], temporary[MAX_PATH], older[MAX_PATH];
    lstrcpynA(dir, target, MAX_PATH);
    char *slash = strrchr(dir, '\\');
    if (slash)
        *slash = 0;
    wsprintfA(temporary, "%s\\LN%04X.TMP", dir, n & 0xFFFF);
    wsprintfA(older, "%s\\LO%04X.TMP", dir, n & 0xFFFF);
    HANDLE out = CreateFileA(temporary, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    if (out == INVALID_HANDLE_VALUE)
        return;
    LZCopy(source, (INT)(INT_PTR)out);
    CloseHandle(out);
    if (MoveFileA(target, older) && MoveFileA(temporary, target))
        DeleteFileA(older);
}

int main(int argc, char **argv)
{
    int replace = argc > 2 && !strcmp(argv[1], "--replace");
    FILE *list = argc > 1 + replace ? fopen(argv[1 + replace], "r") : 0;
    if (!list)
        return 1;
    char line[1024];
    int files = 0;
    DWORD start = GetTickCount();
    while (fgets(line, sizeof line, list)) {
        line[strcspn(line, "\r\n")] = 0;
        char *tab = strchr(line, '\t');
        if (!tab)
            continue;
        *tab = 0;
        OFSTRUCT of;
        INT source = LZOpenFileA(line, &of, OF_READ);
        if (source >= 0 && replace) {
            Replace(source, tab + 1, files);
        } else if (source >= 0) {
            INT target = LZOpenFileA(tab + 1, &of, OF_CREATE);
            if (target >= 0) {
                LZCopy(source, target);
                LZClose(target);
            }
        }
        if (source >= 0)
            LZClose(source);
        files++;
    }
    printf("lzloop: %d files in %lu ms\n", files, GetTickCount() - start);
    return 0;
}
