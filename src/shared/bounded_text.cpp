/* Bounded text helpers. Plain C, no platform calls, so they also build natively. */
#include "bounded_text.h"

int TextLength(const char *text)
{
    int n = 0;
    while (text[n])
        n++;
    return n;
}

void CopyText(char *dst, int size, const char *src)
{
    int i = 0;
    if (size <= 0)
        return;
    if (src)
        for (; i < size - 1 && src[i]; i++)
            dst[i] = src[i];
    dst[i] = 0;
}

void AppendText(char *dst, int size, const char *src)
{
    int used = 0;
    if (size <= 0)
        return;
    while (used < size - 1 && dst[used])
        used++;
    CopyText(dst + used, size - used, src);
}

char LowerLetter(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

int SameTextNoCase(const char *a, const char *b)
{
    for (; *a && *b; a++, b++)
        if (LowerLetter(*a) != LowerLetter(*b))
            return 0;
    return *a == *b;
}

int BeginsWithNoCase(const char *text, const char *prefix)
{
    for (; *prefix; text++, prefix++)
        if (LowerLetter(*text) != LowerLetter(*prefix))
            return 0;
    return 1;
}

int ContainsText(const char *text, const char *needle)
{
    for (; *text; text++) {
        int i = 0;
        while (needle[i] && text[i] == needle[i])
            i++;
        if (!needle[i])
            return 1;
    }
    return !*needle;
}
