/* A reading of the INI format as the private-profile services read it; see the header. */
#include "profile_file.h"
#include <stdio.h>
#include <string.h>
#include <unordered_map>

namespace {

struct ProfileKey {
    int section;            /* index into Sections; 0 is the nameless part before the first */
    std::string name;
    bool hasValue;
    std::string value;
};

std::vector<std::string> Sections;
std::vector<ProfileKey> Keys;
/* Per section: each key name (in lower case, up to a NUL) to its first line in Keys. */
std::vector<std::unordered_map<std::string, size_t>> FirstKeys;

bool IsProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' ||
           c == 0x1a;
}

char LowerLetter(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

/* A name as it is compared: up to a NUL, as the platform's C strings end, and without
   regard to the case of a-z. */
std::string ComparedName(const std::string &name)
{
    std::string lower;
    for (const char *c = name.c_str(); *c; c++)
        lower += LowerLetter(*c);
    return lower;
}

/* Names in section headers, and names asked for, lose their blanks at both ends. */
std::string TrimmedName(const std::string &name)
{
    size_t begin = 0, end = name.size();
    while (begin < end && IsProfileBlank(name[begin]))
        begin++;
    while (end > begin && IsProfileBlank(name[end - 1]))
        end--;
    return name.substr(begin, end - begin);
}

void TakeLine(const char *start, const char *end)
{
    while (start < end && IsProfileBlank(*start))
        start++;
    while (end > start && IsProfileBlank(end[-1]))
        end--;
    if (start == end)
        return;
    if (*start == '[') {
        const char *close = end;
        while (close > start && close[-1] != ']')
            close--;
        if (close > start) {       /* close is just after the last ']' */
            Sections.push_back(TrimmedName(std::string(start + 1, close - 1 - (start + 1))));
            FirstKeys.emplace_back();
            return;
        }
    }
    ProfileKey key = {(int)Sections.size() - 1, std::string(), false, std::string()};
    const char *equals = (const char *)memchr(start, '=', end - start);
    if (!equals) {
        key.name.assign(start, end - start);
    } else {
        const char *nameEnd = equals;
        while (nameEnd > start && IsProfileBlank(nameEnd[-1]))
            nameEnd--;
        const char *value = equals + 1;
        while (value < end && IsProfileBlank(*value))
            value++;
        key.name.assign(start, nameEnd - start);
        key.hasValue = true;
        key.value.assign(value, end - value);
    }
    FirstKeys[key.section].emplace(ComparedName(key.name), Keys.size());
    Keys.push_back(key);
}

int FindSection(const char *section)
{
    std::string wanted = ComparedName(TrimmedName(section));
    for (size_t i = 0; i < Sections.size(); i++)
        if (ComparedName(Sections[i]) == wanted)
            return (int)i;
    return -1;
}

const ProfileKey *FindKey(const char *section, const char *key)
{
    int s = FindSection(section);
    if (s < 0)
        return 0;
    auto found = FirstKeys[s].find(ComparedName(TrimmedName(key)));
    return found == FirstKeys[s].end() ? 0 : &Keys[found->second];
}

/* Copies value into buf of size bytes, without a pair of enclosing quotes. */
int CopyValue(char *buf, int size, const char *value)
{
    bool quoted = false;
    if ((value[0] == '\'' || value[0] == '"') && value[1] &&
        value[strlen(value) - 1] == value[0]) {
        quoted = true;
        value++;
    }
    if (size <= 0)
        return 0;
    int n = 0;
    for (; n < size - 1 && value[n]; n++)
        buf[n] = value[n];
    buf[n] = 0;
    if (quoted && (size_t)size >= strlen(value) && n > 0)
        buf[--n] = 0;
    return n;
}

}  // namespace

void UseProfileText(const char *text, size_t length)
{
    Sections.assign(1, std::string());
    Keys.clear();
    FirstKeys.assign(1, std::unordered_map<std::string, size_t>());
    const char *end = text + length;
    if (length >= 3 && !memcmp(text, "\xEF\xBB\xBF", 3))   /* a UTF-8 byte-order mark */
        text += 3;
    while (text < end) {
        const char *lineEnd = (const char *)memchr(text, '\n', end - text);
        const char *next = lineEnd ? lineEnd + 1 : end;
        TakeLine(text, lineEnd ? lineEnd : end);
        text = next;
    }
}

int OpenProfileFile(const char *path)
{
    std::string text;
    FILE *file = fopen(path, "rb");
    if (file) {
        char chunk[4096];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
            text.append(chunk, got);
        fclose(file);
    }
    UseProfileText(text.data(), text.size());
    return file != 0;
}

int ReadProfileString(const char *section, const char *key, const char *fallback,
                      char *buf, int size)
{
    std::string shortened(fallback ? fallback : "");
    while (!shortened.empty() && shortened[shortened.size() - 1] == ' ')
        shortened.erase(shortened.size() - 1);
    if (!key[0]) {                 /* the platform returns nothing for an empty key name */
        if (size > 0)
            buf[0] = 0;
        return 0;
    }
    const ProfileKey *found = FindKey(section, key);
    return CopyValue(buf, size, found && found->hasValue ? found->value.c_str()
                                                         : shortened.c_str());
}

unsigned int ReadProfileInt(const char *section, const char *key, int fallback)
{
    char text[30];
    if (!ReadProfileString(section, key, "", text, sizeof text))
        return (unsigned int)fallback;
    const unsigned char *p = (const unsigned char *)text;
    while (*p && *p <= ' ')
        p++;
    bool negative = false;
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

std::vector<std::string> ProfileKeys(const char *section)
{
    std::vector<std::string> names;
    int s = FindSection(section);
    for (const ProfileKey &k : Keys)
        if (k.section == s && k.hasValue && !k.name.empty() && k.name[0] != ';')
            names.push_back(k.name);
    return names;
}
