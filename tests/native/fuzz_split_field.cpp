// Fuzzes SplitScriptField over whole file lines: fields never overflow, never start
// with a blank, never hold a comma, and the rest always moves forward.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "shared/script_field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char *text = (char *)malloc(size + 1);
    memcpy(text, data, size);
    text[size] = 0;
    const char *rest = text;
    for (int i = 0; i < 8; i++) {
        char *field = (char *)malloc(SCRIPT_FIELD_SIZE);
        const char *next = SplitScriptField(rest, field);
        size_t len = strlen(field);
        if (len >= SCRIPT_FIELD_SIZE || (len && field[0] == ' ') || strchr(field, ',') ||
            next < rest || next > text + strlen(text))
            abort();
        free(field);
        if (next == rest && !*rest)
            break;
        rest = next;
    }
    free(text);
    return 0;
}
