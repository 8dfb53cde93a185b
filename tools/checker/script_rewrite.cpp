/* A setup script with some of its sections written anew; see the header. A line is a
   section header as the profile reading takes it: blanks trimmed, a '[' first and a
   ']' after it, the name what stands between the '[' and the last ']'. */
#include "script_rewrite.h"
#include <ctype.h>
#include "shared/profile_text.h"

namespace {

std::string Trimmed(const std::string &text)
{
    size_t start = 0, end = text.size();
    while (start < end && IsProfileBlank(text[start]))
        start++;
    while (end > start && IsProfileBlank(text[end - 1]))
        end--;
    return text.substr(start, end - start);
}

bool SameNoCase(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

// 1 and the section's name when the line is a section header.
bool IsHeader(const std::string &line, std::string *name)
{
    std::string text = Trimmed(line);
    size_t close = text.rfind(']');
    if (text.empty() || text[0] != '[' || close == std::string::npos || close == 0)
        return false;
    *name = Trimmed(text.substr(1, close - 1));
    return true;
}

// The group a section name belongs to, or -1.
int GroupOf(const std::string &name, const std::vector<NewSections> &groups)
{
    for (size_t g = 0; g < groups.size(); g++)
        for (const std::string &n : groups[g].names)
            if (SameNoCase(name, n))
                return (int)g;
    return -1;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string ByteOrderMarkless(const std::string &line)
{
    return line.compare(0, 3, "\xEF\xBB\xBF") ? line : line.substr(3);
}

}  // namespace

std::string RewriteScript(const std::string &script, const std::vector<NewSections> &groups)
{
    std::string out;
    std::vector<bool> written(groups.size(), false);
    bool skipping = false;
    int blanks = 0;   // blank lines at the end of a section left out, kept before the next
                      // section unless that is left out for the same new text
    std::vector<std::string> lines = Lines(script);
    for (size_t i = 0; i < lines.size(); i++) {
        std::string name;
        bool header = IsHeader(i ? lines[i] : ByteOrderMarkless(lines[i]), &name);
        if (header) {
            int group = GroupOf(name, groups);
            bool goesOn = group >= 0 && written[group];   // the same new text still
            for (int b = 0; skipping && !goesOn && b < blanks; b++)
                out += "\r\n";
            skipping = group >= 0;
            blanks = 0;
            if (skipping && !written[group]) {
                if (i == 0 && lines[i] != ByteOrderMarkless(lines[i]))
                    out += "\xEF\xBB\xBF";
                out += groups[group].text;
                written[group] = true;
            }
            if (skipping)
                continue;
        }
        if (!skipping) {
            out += lines[i] + "\r\n";
            continue;
        }
        blanks = Trimmed(lines[i]).empty() ? blanks + 1 : 0;
    }
    for (size_t g = 0; g < groups.size(); g++)
        if (!written[g])
            out += groups[g].text;
    return out;
}
