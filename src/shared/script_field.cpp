/* Field splitter for file lines and [PM Info] lines. No platform calls. */
#include "script_field.h"

const char *SplitScriptField(const char *rest, char *field)
{
    int len = 0;
    while (*rest == ' ')             /* only blanks; a tab is part of the field */
        rest++;
    while (*rest && *rest != ',') {
        if (len < SCRIPT_FIELD_SIZE - 1)
            field[len++] = *rest;
        rest++;
    }
    if (*rest == ',')
        rest++;
    while (len > 1 && field[len - 1] == ' ')
        len--;
    field[len] = 0;
    return rest;
}
