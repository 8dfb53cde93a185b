// Benchmark floors: expands a list of files with the LZ expansion service in a plain
// loop, with nothing around it: by LZCopy; with --blocks, in the blocks SETUP.EXE
// expands a file in; with --replace, each over an existing target as SETUP.EXE
// replaces a file, and nothing more: expanded in those blocks into a new temporary
// file beside the target, the old file moved aside, the new one moved in, the old one
// deleted.
//   lzloop [--blocks | --replace] LIST   (each line: source path, a tab, target path)
#include <windows.h>
#include <lzexpand.h>
#include <stdio.h>
#include <string.h>

// The source expanded into the file open at out in blocks of 32 KB, each written whole,
// as SETUP.EXE expands a file (LZCopy writes a thousand bytes at a time).
static void ExpandBlocks(INT source, HANDLE out)
{
    static char block[32768];
    INT got;
    DWORD put;
    while ((got = LZRead(source, block, sizeof block)) > 0)
        if (!WriteFile(out, block, (DWORD)got, &put, 0))
            return;
}

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
    ExpandBlocks(source, out);
    CloseHandle(out);
    if (MoveFileA(target, older) && MoveFileA(temporary, target))
        DeleteFileA(older);
}

int main(int argc, char **argv)
{
    int replace = argc > 2 && !strcmp(argv[1], "--replace");
    int blocks = argc > 2 && !strcmp(argv[1], "--blocks");
    FILE *list = argc > 2 ? fopen(argv[2], "r") : argc > 1 ? fopen(argv[1], "r") : 0;
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
        } else if (source >= 0 && blocks) {
            HANDLE out = CreateFileA(tab + 1, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
            if (out != INVALID_HANDLE_VALUE) {
                ExpandBlocks(source, out);
                CloseHandle(out);
            }
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
