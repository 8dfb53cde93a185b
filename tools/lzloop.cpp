// Benchmark baseline: expands a list of files with the LZ expansion service in a plain
// loop, as SETUP.EXE's copy does but with nothing around it.
//   lzloop LIST   (each line: source path, a tab, target path)
#include <windows.h>
#include <lzexpand.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char **argv)
{
    FILE *list = argc > 1 ? fopen(argv[1], "r") : 0;
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
        INT target = source >= 0 ? LZOpenFileA(tab + 1, &of, OF_CREATE) : -1;
        if (source >= 0 && target >= 0)
            LZCopy(source, target);
        if (source >= 0)
            LZClose(source);
        if (target >= 0)
            LZClose(target);
        files++;
    }
    printf("lzloop: %d files in %lu ms\n", files, GetTickCount() - start);
    return 0;
}
