/* The reading of an INI file's text; see the header. No platform calls. */
#include "profile_text.h"
#include "bounded_text.h"

/* A stretch of the text: [start, end). */
struct Span {
    const char *start, *end;
};

static const char Nul[1] = { 0 }, Equals[1] = { '=' };

int IsProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' ||
           c == 0x1a;
}

static Span Trimmed(Span s)
{
    while (s.start < s.end && IsProfileBlank(*s.start))
        s.start++;
    while (s.end > s.start && IsProfileBlank(s.end[-1]))
        s.end--;
    return s;
}

/* A name as it is compared: up to a NUL, as the platform's C strings end. */
static Span UpToNul(Span s)
{
    for (const char *p = s.start; p < s.end; p++)
        if (!*p) {
            s.end = p;
            break;
        }
    return s;
}

/* 1 when the name in the text is wanted, both without outer blanks, apart from the case
   of the letters a-z. */
static int SameName(Span name, const char *wanted)
{
    Span w = Trimmed(Span{ wanted, wanted + TextLength(wanted) });
    name = UpToNul(name);
    if (name.end - name.start != w.end - w.start)
        return 0;
    for (int i = 0; name.start + i < name.end; i++)
        if (LowerLetter(name.start[i]) != LowerLetter(w.start[i]))
            return 0;
    return 1;
}

/* The next line that is not blank, trimmed, from *at on; 0 at the end of the text. */
static int NextLine(const ProfileText *t, int *at, Span *line)
{
    const char *end = t->text + t->length;
    const char *p = t->text + *at;
    if (*at == 0 && t->length >= 3 && (unsigned char)p[0] == 0xEF &&
        (unsigned char)p[1] == 0xBB && (unsigned char)p[2] == 0xBF)
        p += 3;   /* a UTF-8 byte-order mark */
    while (p < end) {
        const char *lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n')
            lineEnd++;
        *line = Trimmed(Span{ p, lineEnd });
        p = lineEnd < end ? lineEnd + 1 : end;
        *at = (int)(p - t->text);
        if (line->start < line->end)
            return 1;
    }
    *at = t->length;
    return 0;
}

/* 1 and the section's name when the line is a section header. */
static int IsHeader(Span line, Span *name)
{
    if (*line.start != '[')
        return 0;
    const char *close = line.end;
    while (close > line.start && close[-1] != ']')
        close--;
    if (close <= line.start)
        return 0;
    *name = Trimmed(Span{ line.start + 1, close - 1 });
    return 1;
}

/* Calls each with every key line of the first section of that name, in order, until it
   answers 0. */
static void ForEachKeyLine(const ProfileText *t, const char *section,
                           int (*each)(Span line, void *context), void *context)
{
    int at = 0, inside = SameName(Span{ Nul, Nul }, section);   /* the part before any header */
    Span line, name;
    while (NextLine(t, &at, &line)) {
        if (IsHeader(line, &name)) {
            if (inside)
                return;   /* only the first section of that name counts */
            inside = SameName(name, section);
        } else if (inside && !each(line, context)) {
            return;
        }
    }
}

/* A key line's name and value; 0 for a key without '='. */
static int SplitKeyLine(Span line, Span *name, Span *value)
{
    const char *equals = line.start;
    while (equals < line.end && *equals != '=')
        equals++;
    *name = Trimmed(Span{ line.start, equals });
    if (equals == line.end)
        return 0;
    *value = Trimmed(Span{ equals + 1, line.end });
    return 1;
}

struct KeySearch {
    const char *key;
    int found, hasValue;
    Span value;
};

static int TakeFirstKey(Span line, void *context)
{
    KeySearch *s = (KeySearch *)context;
    Span name, value = { 0, 0 };
    int hasValue = SplitKeyLine(line, &name, &value);
    if (!SameName(name, s->key))
        return 1;
    s->found = 1;
    s->hasValue = hasValue;
    s->value = UpToNul(value);
    return 0;
}

/* Copies value into buf of size bytes, without a pair of enclosing quotes. */
static int CopyValue(char *buf, int size, Span value)
{
    int length = (int)(value.end - value.start);
    int quoted = length >= 2 && (value.start[0] == '\'' || value.start[0] == '"') &&
                 value.end[-1] == value.start[0];
    if (size <= 0)
        return 0;
    if (quoted) {
        value.start++;
        length--;
    }
    int n = 0;
    for (; n < size - 1 && n < length; n++)
        buf[n] = value.start[n];
    buf[n] = 0;
    if (quoted && size >= length && n > 0)
        buf[--n] = 0;   /* the closing quote, when it was copied */
    return n;
}

int ProfileString(const ProfileText *t, const char *section, const char *key,
                  const char *fallback, char *buf, int size)
{
    if (!key[0]) {   /* the platform gives nothing for an empty key name */
        if (size > 0)
            buf[0] = 0;
        return 0;
    }
    KeySearch s = { key, 0, 0, { 0, 0 } };
    ForEachKeyLine(t, section, TakeFirstKey, &s);
    if (s.found && s.hasValue)
        return CopyValue(buf, size, s.value);
    const char *text = fallback ? fallback : Nul;
    Span shortened = { text, text + TextLength(text) };
    while (shortened.end > shortened.start && shortened.end[-1] == ' ')
        shortened.end--;
    return CopyValue(buf, size, shortened);
}

unsigned int ProfileNumber(const ProfileText *t, const char *section, const char *key,
                           int fallback)
{
    char text[30];
    if (!ProfileString(t, section, key, "", text, sizeof text))
        return (unsigned int)fallback;
    const unsigned char *p = (const unsigned char *)text;
    while (*p && *p <= ' ')
        p++;
    int negative = 0;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    unsigned int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
        base = p[1] == 'x' ? 16 : p[1] == 'o' ? 8 : 2;
        p += 2;
    }
    unsigned int total = 0;
    for (;; p++) {
        unsigned int digit = *p >= '0' && *p <= '9' ? *p - '0'
                           : *p >= 'a' && *p <= 'z' ? *p - 'a' + 10
                           : *p >= 'A' && *p <= 'Z' ? *p - 'A' + 10 : 99;
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

struct SectionList {
    char *lines;
    int size, used;
};

static void PutChars(SectionList *l, Span s)
{
    for (const char *p = s.start; p < s.end; p++, l->used++)
        if (l->used < l->size)
            l->lines[l->used] = *p;
}

static int ListKeyLine(Span line, void *context)
{
    SectionList *l = (SectionList *)context;
    Span name, value;
    int hasValue = SplitKeyLine(line, &name, &value);
    PutChars(l, name);
    if (hasValue) {
        PutChars(l, Span{ Equals, Equals + 1 });
        PutChars(l, value);
    }
    PutChars(l, Span{ Nul, Nul + 1 });   /* the line's NUL */
    return 1;
}

int ProfileSection(const ProfileText *t, const char *section, char *lines, int size)
{
    SectionList l = { lines, size, 0 };
    ForEachKeyLine(t, section, ListKeyLine, &l);
    PutChars(&l, Span{ Nul, Nul + 1 });   /* the empty line that ends the list */
    if (size > 0 && l.used > size)
        lines[size - 1] = 0;
    return l.used;
}
