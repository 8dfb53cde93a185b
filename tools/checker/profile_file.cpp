/* A reading of the INI format as the private-profile services read it: the programs'
   own reading (src/shared/profile_text.cpp) over the file taken whole. */
#include "profile_file.h"
#include <stdio.h>
#include <ctype.h>
#include <string.h>
#include "shared/profile_text.h"

namespace {

std::string Text;

bool SameNameNoCase(const char *a, const char *b, size_t length)
{
    if (strlen(b) != length)
        return false;
    for (size_t i = 0; i < length; i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

ProfileText View()
{
    return ProfileText{Text.data(), (int)Text.size()};
}

}  // namespace

void UseProfileText(const char *text, size_t length)
{
    Text.assign(text, length);
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
    Text = text;
    return file != 0;
}

int ReadProfileString(const char *section, const char *key, const char *fallback,
                      char *buf, int size)
{
    ProfileText t = View();
    return ProfileString(&t, section, key, fallback, buf, size);
}

unsigned int ReadProfileInt(const char *section, const char *key, int fallback)
{
    ProfileText t = View();
    return ProfileNumber(&t, section, key, fallback);
}

// The lines of the first section of that name, each "key=value" or "key", each ending
// in a NUL, and the list in an empty line.
static std::string SectionLines(const char *section)
{
    ProfileText t = View();
    std::string lines(ProfileSection(&t, section, 0, 0), '\0');
    ProfileSection(&t, section, &lines[0], (int)lines.size());
    return lines;
}

std::vector<std::string> ProfileKeys(const char *section)
{
    std::string lines = SectionLines(section);
    std::vector<std::string> names;
    for (const char *line = lines.c_str(); *line; line += strlen(line) + 1) {
        const char *equals = strchr(line, '=');
        if (equals && equals > line && line[0] != ';')
            names.push_back(std::string(line, equals - line));
    }
    return names;
}

std::string ProfileWrittenValue(const char *section, const char *key)
{
    std::string lines = SectionLines(section);
    for (const char *line = lines.c_str(); *line; line += strlen(line) + 1) {
        const char *equals = strchr(line, '=');
        size_t length = equals ? (size_t)(equals - line) : strlen(line);
        if (SameNameNoCase(line, key, length))
            return equals ? equals + 1 : "";
    }
    return "";
}
