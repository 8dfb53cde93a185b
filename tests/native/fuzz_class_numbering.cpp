// Fuzzes the class-key numbering over lists of subkey names (one per line): it never
// misbehaves, and the number it picks is one more than the number it stopped after.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "install/class_numbering.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ClassNumbering n;
    StartClassNumbering(&n);
    char name[80];
    size_t start = 0;
    for (size_t i = 0; i <= size; i++) {
        if (i < size && data[i] != '\n')
            continue;
        size_t len = i - start < sizeof name - 1 ? i - start : sizeof name - 1;
        memcpy(name, data + start, len);
        name[len] = 0;
        start = i + 1;
        if (!TakeClassName(&n, name))
            break;
    }
    if (NextClassNumber(&n) != (short)(n.chosen + 1))
        abort();
    return 0;
}
