// Fuzzes the system.ini rewriting on memory streams: it never crashes, writes at most
// as many lines as it read, leaves a file without "[386Enh]" as it was, and refuses
// a file holding a NUL byte.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "install/ini_rewrite.h"

static size_t Lines(const char *text, size_t size)
{
    size_t n = 0;
    for (size_t i = 0; i < size; i++)
        n += text[i] == '\n';
    return n + (size && text[size - 1] != '\n');
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!size)
        return 0;
    FILE *in = fmemopen((void *)data, size, "r");
    char *out = 0;
    size_t outSize = 0;
    FILE *outFile = open_memstream(&out, &outSize);
    int ok = RewriteSystemIni(in, outFile);
    fclose(in);
    fclose(outFile);
    int hasNul = memchr(data, 0, size) != 0;
    if (ok == hasNul)   // a NUL must be refused, anything else rewritten
        abort();
    if (hasNul) {
        free(out);
        return 0;
    }
    if (Lines(out, outSize) > Lines((const char *)data, size))
        abort();
    if (!memmem(data, size, "[386Enh]", 8) && (outSize != size || memcmp(out, data, size)))
        abort();
    free(out);
    return 0;
}
