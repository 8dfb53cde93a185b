// The rig's Windows 95/98 answers over the programs as built: a copy of a program whose
// import table names W9X.DLL wherever it named KERNEL32, ADVAPI32 or LZ32, and not one
// other byte changed. W9X.DLL answers as Windows 95/98 do where Wine answers as NT, and
// hands every other call on to the DLL the program named. A host tool:
//   patch_imports IN.EXE OUT.EXE     writes the patched copy
//   patch_imports --list EXE...      prints "DLL FUNCTION" for each function of those
//                                    three DLLs that the programs import
// Exit codes: 0 done; 1 a file that is no PE image or cannot be read or written; 2 usage.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const char *const Replaced[] = {"KERNEL32.DLL", "ADVAPI32.DLL", "LZ32.DLL"};
const char Personality[] = "W9X.DLL";   // no longer than any name it replaces

struct Image {
    std::vector<unsigned char> bytes;
    bool pe32plus = false;
    uint32_t sections = 0, sectionTable = 0, importRva = 0;
};

uint32_t U16(const Image &im, size_t at) { return im.bytes[at] | im.bytes[at + 1] << 8; }
uint32_t U32(const Image &im, size_t at) { return U16(im, at) | U16(im, at + 2) << 16; }

// The file offset of an address of the loaded image; 0 when no section holds it.
size_t Offset(const Image &im, uint32_t rva)
{
    for (uint32_t i = 0; i < im.sections; i++) {
        size_t s = im.sectionTable + 40 * i;
        uint32_t va = U32(im, s + 12), size = U32(im, s + 16), raw = U32(im, s + 20);
        if (rva >= va && rva < va + size && raw + (rva - va) < im.bytes.size())
            return raw + (rva - va);
    }
    return 0;
}

bool Load(const char *path, Image &im)
{
    std::ifstream in(path, std::ios::binary);
    im.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (im.bytes.size() < 0x40 || im.bytes[0] != 'M' || im.bytes[1] != 'Z')
        return false;
    size_t pe = U32(im, 0x3C);
    if (pe + 0x100 > im.bytes.size() || memcmp(&im.bytes[pe], "PE\0\0", 4) != 0)
        return false;
    im.sections = U16(im, pe + 6);
    size_t optional = pe + 24;
    im.pe32plus = U16(im, optional) == 0x20B;
    im.sectionTable = optional + U16(im, pe + 20);
    im.importRva = U32(im, optional + (im.pe32plus ? 120 : 104));   // data directory 1
    return im.sectionTable + 40 * im.sections <= im.bytes.size() && im.importRva != 0;
}

std::string Upper(std::string s)
{
    for (char &c : s)
        c = (char)toupper((unsigned char)c);
    return s;
}

bool IsReplaced(const std::string &dll)
{
    for (const char *name : Replaced)
        if (Upper(dll) == name)
            return true;
    return false;
}

// Each import descriptor's name offset and name, in order.
std::vector<std::pair<size_t, std::string>> Descriptors(const Image &im)
{
    std::vector<std::pair<size_t, std::string>> found;
    for (size_t d = Offset(im, im.importRva); d && d + 20 <= im.bytes.size() && U32(im, d + 12); d += 20) {
        size_t name = Offset(im, U32(im, d + 12));
        if (!name)
            break;
        found.push_back({name, std::string((const char *)&im.bytes[name])});
    }
    return found;
}

// The functions a descriptor imports by name.
std::vector<std::string> Functions(const Image &im, size_t descriptorName)
{
    std::vector<std::string> names;
    for (size_t d = Offset(im, im.importRva); d && U32(im, d + 12); d += 20) {
        if (Offset(im, U32(im, d + 12)) != descriptorName)
            continue;
        uint32_t table = U32(im, d) ? U32(im, d) : U32(im, d + 16);
        size_t width = im.pe32plus ? 8 : 4;
        for (size_t t = Offset(im, table); t && t + width <= im.bytes.size(); t += width) {
            uint64_t entry = U32(im, t) | (im.pe32plus ? (uint64_t)U32(im, t + 4) << 32 : 0);
            if (!entry)
                break;
            bool byOrdinal = entry >> (im.pe32plus ? 63 : 31);
            size_t hint = byOrdinal ? 0 : Offset(im, (uint32_t)entry);
            if (hint)
                names.push_back((const char *)&im.bytes[hint + 2]);
        }
    }
    return names;
}

int Patch(const char *in, const char *out)
{
    Image im;
    if (!Load(in, im)) {
        fprintf(stderr, "patch_imports: %s is no PE image with imports\n", in);
        return 1;
    }
    int renamed = 0;
    for (const auto &d : Descriptors(im))
        if (IsReplaced(d.second)) {
            memset(&im.bytes[d.first], 0, d.second.size());
            memcpy(&im.bytes[d.first], Personality, sizeof Personality - 1);
            renamed++;
        }
    std::ofstream o(out, std::ios::binary);
    o.write((const char *)im.bytes.data(), (std::streamsize)im.bytes.size());
    if (!renamed || !o) {
        fprintf(stderr, "patch_imports: %s: %s\n", out, renamed ? "cannot be written" : "imports none of the DLLs");
        return 1;
    }
    return 0;
}

int List(int count, char **paths)
{
    std::set<std::string> lines;
    for (int i = 0; i < count; i++) {
        Image im;
        if (!Load(paths[i], im)) {
            fprintf(stderr, "patch_imports: %s is no PE image with imports\n", paths[i]);
            return 1;
        }
        for (const auto &d : Descriptors(im))
            if (IsReplaced(d.second))
                for (const std::string &f : Functions(im, d.first))
                    lines.insert(Upper(d.second.substr(0, d.second.find('.'))) + " " + f);
    }
    for (const std::string &line : lines)
        printf("%s\n", line.c_str());
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && !strcmp(argv[1], "--list"))
        return List(argc - 2, argv + 2);
    if (argc == 3)
        return Patch(argv[1], argv[2]);
    fprintf(stderr, "usage: patch_imports IN.EXE OUT.EXE | patch_imports --list EXE...\n");
    return 2;
}
