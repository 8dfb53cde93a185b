/* The names the package tools work with; see the header. */
#include "script_names.h"
#include "shared/setup_state.h"
#include "resource.h"

std::string RelativeDir(const std::string &dir)
{
    std::string result, part;
    for (size_t i = 0; i <= dir.size(); i++) {
        if (i < dir.size() && dir[i] != '\\' && dir[i] != '/') {
            part += dir[i];
            continue;
        }
        if (!part.empty() && part != ".")
            result += (result.empty() ? "" : "/") + part;
        part.clear();
    }
    return result;
}

std::string JoinPath(const std::string &dir, const std::string &name)
{
    return dir.empty() ? name : dir + "/" + name;
}

std::string Lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return text;
}

std::string Text(unsigned int id)
{
    const char *text = ResourceText(id);
    return text ? text : "";
}

std::string DiskSection(int disk)
{
    return Text(IDS_DISK1 + disk - 1);
}

long FileNumber(const std::string &key)
{
    if (key.empty() || key.size() > 5 || key[0] == '0')
        return -1;
    long n = 0;
    for (char c : key) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}
