// Fuzzes the class-key numbering. The first byte chooses the kind of input:
// - odd: any names at all (one per line), which must never make it misbehave;
// - even: the four-digit names of a set of numbers, in the ascending order the
//   registry lists them, where the number chosen must be the smallest one not in the
//   set, found here by a plain search over the set, so it never names an existing key.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "install/class_numbering.h"

static void AnyNames(const uint8_t *data, size_t size)
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
    NextClassNumber(&n);
}

static void ExistingKeys(const uint8_t *data, size_t size)
{
    bool taken[10000] = {};
    for (size_t i = 0; i + 1 < size; i += 2)
        taken[(data[i] << 8 | data[i + 1]) % 300] = true;   // small numbers, many gaps
    ClassNumbering n;
    StartClassNumbering(&n);
    for (int k = 0; k < 10000; k++) {
        if (!taken[k])
            continue;
        char name[8];
        snprintf(name, sizeof name, "%04d", k);
        if (!TakeClassName(&n, name))
            break;
    }
    int smallestFree = 0;
    while (taken[smallestFree])
        smallestFree++;
    if (NextClassNumber(&n) != smallestFree) {
        fprintf(stderr, "chose %d, the smallest free number is %d\n", NextClassNumber(&n),
                smallestFree);
        abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 1)
        AnyNames(data + 1, size - 1);
    else
        ExistingKeys(data + 1, size - 1);
    return 0;
}
