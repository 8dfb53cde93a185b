/* No platform calls, so it also builds natively. */
#include "command_line.h"

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char *SkipCommandBlanks(const char *p)
{
    while (IsBlank(*p))
        p++;
    return p;
}

const char *CommandWord(const char *p, char *word, int size)
{
    int n = 0, quoted = 0;
    for (; *p && (quoted || !IsBlank(*p)); p++) {
        if (*p == '"') {
            quoted = !quoted;
            continue;
        }
        if (word && n >= size - 1)
            return 0;
        if (word)
            word[n] = *p;
        n++;
    }
    if (word && size > 0)
        word[n] = 0;
    return quoted ? 0 : p;
}

int IsSilentCommand(const char *tail)
{
    return tail && tail[0] == '-' && tail[1] == 's' && (!tail[2] || IsBlank(tail[2]));
}
