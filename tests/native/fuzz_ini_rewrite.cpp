// Fuzzes the system.ini rewriting on memory streams: it never crashes and refuses a
// file holding a NUL byte. A file whose lines are all short enough to be read whole
// must come out as the rule says, line by line: inside [386Enh] (from a line holding
// "[386Enh]" to the next line starting with '[') the first line mentioning "mouse"
// that is neither the header nor a comment becomes "mouse=*vmouse", or that line is
// added as the section's last; nothing outside the section changes (longer lines,
// read in pieces, are left to the unit tests). And the way back: in a
// file with one [386Enh] section, the mouse line read before the rewrite (none, where
// the rewrite added one) written over the rewritten file's gives the file back.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include "shared/ini_rewrite.h"

// The rewrite setup makes of system.ini: the vmouse line in every [386Enh] section,
// added where there is none.
static int RewriteSystemIni(FILE *in, FILE *out)
{
    return RewriteMouseLine(in, out, "mouse=*vmouse\n", MOUSE_LINE_EVERY_SECTION | MOUSE_LINE_ADD_MISSING);
}

namespace {

const char Vmouse[] = "mouse=*vmouse\n";

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

bool Holds(const std::string &line, const char *what)
{
    return line.find(what) != std::string::npos;
}

// The rule applied to whole lines.
std::string Expected(const std::vector<std::string> &lines)
{
    std::string out;
    bool inSection = false;
    for (const std::string &line : lines) {
        bool header = Holds(line, "[386Enh]");
        if (inSection && line[0] == '[' && !header) {
            out += Vmouse;
            inSection = false;
        }
        inSection = inSection || header;
        if (inSection && !header && line[0] != ';' && Holds(line, "mouse")) {
            out += Vmouse;
            inSection = false;
            continue;
        }
        out += line;
    }
    if (inSection)
        out += std::string(out.back() == '\n' ? "" : "\n") + Vmouse;
    return out;
}

bool ReadWhole(const std::vector<std::string> &lines)
{
    for (const std::string &line : lines)
        if (line.size() > INI_PIECE_LIMIT - 1)
            return false;
    return true;
}

// Runs rewrite(in, out) over text on memory streams; its output, and its result in *ok.
template <typename Rewrite>
std::string OnMemory(const std::string &text, Rewrite rewrite, int *ok = nullptr)
{
    FILE *in = fmemopen((void *)text.data(), text.size(), "r");
    char *out = 0;
    size_t outSize = 0;
    FILE *outFile = open_memstream(&out, &outSize);
    int result = rewrite(in, outFile);
    fclose(in);
    fclose(outFile);
    if (ok)
        *ok = result;
    std::string written(out, outSize);
    free(out);
    return written;
}

// What the uninstaller does with system.ini (the rewritten file) and system.bak (the
// original), on a file with a single [386Enh] section and no CR.
void CheckWayBack(const std::string &original, const std::string &rewritten)
{
    size_t first = original.find("[386Enh]");
    if (first == std::string::npos || original.find("[386Enh]", first + 1) != std::string::npos ||
        original.find('\r') != std::string::npos || rewritten.empty())
        return;
    char line[256 + 1];   /* room for the line end put back */
    FILE *in = fmemopen((void *)original.data(), original.size(), "r");
    int found = FindMouseLine(in, line, 256);
    fclose(in);
    if (!found)
        return;   /* a mouse line too long to hold */
    char now[256];
    in = fmemopen((void *)rewritten.data(), rewritten.size(), "r");
    if (!FindMouseLine(in, now, sizeof now) || strcmp(now, "mouse=*vmouse"))
        abort();   /* the rewritten file's mouse line is setup's */
    fclose(in);
    size_t length = strlen(line);
    if (length) {
        line[length] = '\n';
        line[length + 1] = 0;
    }
    std::string back = OnMemory(rewritten, [&line](FILE *in, FILE *out) {
        return RewriteMouseLine(in, out, line, 0);
    });
    bool ended = original.back() == '\n';
    if (back != original && (ended || back != original + "\n"))
        abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!size)
        return 0;
    std::string text((const char *)data, size);
    int ok;
    std::string result = OnMemory(text, RewriteSystemIni, &ok);
    int hasNul = memchr(data, 0, size) != 0;
    if (ok == hasNul)   // a NUL must be refused, anything else rewritten
        abort();
    if (hasNul)
        return 0;
    std::vector<std::string> lines = SplitLines(text);
    if (ReadWhole(lines) && result != Expected(lines))
        abort();
    CheckWayBack(text, result);
    return 0;
}
