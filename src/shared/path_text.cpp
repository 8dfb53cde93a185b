/* No platform calls, so it also builds natively (the package checker uses it). */
#include "path_text.h"
#include "bounded_text.h"

int JoinPath(char *out, int size, const char *dir, const char *name)
{
    int dirLength = TextLength(dir), nameLength = TextLength(name);
    int separator = dirLength && nameLength && dir[dirLength - 1] != '\\' && name[0] != '\\';
    if (out != dir)
        CopyText(out, size, dir);
    if (separator)
        AppendText(out, size, "\\");
    AppendText(out, size, name);
    return dirLength + separator + nameLength < size;
}

int DirectoryOf(const char *path, char *dir, int size)
{
    int cut = -1;
    for (int i = 0; path[i]; i++)
        if (path[i] == '\\')
            cut = i;
    if (cut == 2 && path[1] == ':')
        cut++;   /* the root keeps its backslash */
    if (cut < 0)
        cut = 0;
    if (cut >= size) {
        CopyText(dir, size, "");
        return 0;
    }
    CopyText(dir, cut + 1, path);
    return 1;
}

const char *LastPartOf(const char *path)
{
    const char *part = path;
    for (const char *p = path; *p; p++)
        if (*p == '\\' && p[1])
            part = p + 1;
    return part;
}

void TidyPlace(char *path)
{
    int n = 0;
    for (int i = 0; path[i]; i++)
        if (!(i > 1 && path[i] == '\\' && path[n - 1] == '\\'))
            path[n++] = path[i];
    path[n] = 0;
    /* a network path's leading pair stays, so at least three characters remain */
    while (n > 1 && path[n - 1] == '\\' && !(n == 3 && path[1] == ':'))
        path[--n] = 0;
}

int IsRelativeDir(const char *value)
{
    if (!value[0] || value[0] == '\\' || (value[1] == ':'))
        return 0;
    for (const char *part = value; *part;) {
        const char *end = part;
        while (*end && *end != '\\')
            end++;
        if (end - part == 2 && part[0] == '.' && part[1] == '.')
            return 0;
        part = *end ? end + 1 : end;
    }
    return 1;
}

/* One part, up to its end or the next backslash: 1 when it is an 8.3 name. */
static int IsShortPart(const char *part, int length)
{
    int base = 0, extension = -1;
    for (int i = 0; i < length; i++) {
        if (part[i] == ' ' || (part[i] == '.' && extension >= 0))
            return 0;
        if (part[i] == '.')
            extension = 0;
        else if (extension >= 0)
            extension++;
        else
            base++;
    }
    return base >= 1 && base <= 8 && extension <= 3;
}

int IsShortFormPath(const char *path)
{
    if (!path[0] || path[1] != ':' || path[2] != '\\')
        return 0;
    for (const char *part = path + 3; *part;) {
        int length = 0;
        while (part[length] && part[length] != '\\')
            length++;
        if (!IsShortPart(part, length))
            return 0;
        part += length + (part[length] ? 1 : 0);
    }
    return 1;
}

static char DriveLetter(const char *path)
{
    char c = path[0] && path[1] == ':' ? path[0] : 0;
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

int OnOneDrive(const char *a, const char *b)
{
    return DriveLetter(a) && DriveLetter(a) == DriveLetter(b);
}
