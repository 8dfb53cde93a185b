#include "log_lines.h"
#include "bounded_text.h"

static const char Hex[] = "0123456789ABCDEF";

static int NeedsEscape(unsigned char c)
{
    return c < 32 || c == '%' || c == 127;
}

int AddLogField(char *line, int size, const char *field)
{
    int start = TextLength(line), at = start + (start ? 1 : 0);
    if (at >= size)
        return 0;   /* a full line: not even an empty field's tab fits */
    if (start)
        line[start] = '\t';
    for (const unsigned char *p = (const unsigned char *)field; *p; p++) {
        if (at + (NeedsEscape(*p) ? 3 : 1) >= size) {
            line[start] = 0;
            return 0;
        }
        if (NeedsEscape(*p)) {
            line[at++] = '%';
            line[at++] = Hex[*p >> 4];
            line[at++] = Hex[*p & 15];
        } else {
            line[at++] = (char)*p;
        }
    }
    line[at] = 0;
    return 1;
}

int AddLogBytes(char *line, int size, const unsigned char *bytes, int count)
{
    int at = TextLength(line);
    if (at + (at ? 1 : 0) + 2 * count >= size)
        return 0;
    if (at)
        line[at++] = '\t';
    for (int i = 0; i < count; i++) {
        line[at++] = Hex[bytes[i] >> 4];
        line[at++] = Hex[bytes[i] & 15];
    }
    line[at] = 0;
    return 1;
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/* The start of the index-th field, or 0. */
static const char *FieldStart(const char *line, int index)
{
    for (; index > 0; index--) {
        while (*line && *line != '\t')
            line++;
        if (!*line)
            return 0;
        line++;
    }
    return line;
}

int LogField(const char *line, int index, char *field, int size)
{
    const char *p = FieldStart(line, index);
    if (!p || size < 1)
        return 0;
    int n = 0;
    for (; *p && *p != '\t'; p++) {
        char c = *p;
        if (c == '%' && HexDigit(p[1]) >= 0 && HexDigit(p[2]) >= 0) {
            c = (char)(HexDigit(p[1]) * 16 + HexDigit(p[2]));
            p += 2;
        }
        if (n >= size - 1)
            return 0;
        field[n++] = c;
    }
    field[n] = 0;
    return 1;
}

int LogBytes(const char *line, int index, unsigned char *bytes, int size)
{
    const char *p = FieldStart(line, index);
    if (!p)
        return -1;
    int n = 0;
    for (; *p && *p != '\t'; p += 2) {
        if (HexDigit(p[0]) < 0 || HexDigit(p[1]) < 0 || n >= size)
            return -1;
        bytes[n++] = (unsigned char)(HexDigit(p[0]) * 16 + HexDigit(p[1]));
    }
    return n;
}

int NextLogLine(const char *text, int length, int *at, char *line, int size)
{
    int start = *at, end = start;
    while (end < length && text[end] != '\n')
        end++;
    if (end >= length)
        return 0;   /* no line end: the last line was torn, or there is none */
    int n = end - start;
    if (n > 0 && text[end - 1] == '\r')
        n--;
    if (n >= size)
        return -1;
    for (int i = 0; i < n; i++)
        line[i] = text[start + i];
    line[n] = 0;
    *at = end + 1;
    return 1;
}
