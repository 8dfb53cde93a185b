// REGEDIT4 text of registry keys.
#include "regedit4_text.h"
#include <algorithm>

static std::string DumpText(const char *text, DWORD size)
{
    std::string out = "\"";
    for (DWORD i = 0; i < size && text[i]; i++) {
        if (text[i] == '\\' || text[i] == '"')
            out += '\\';
        out += text[i];
    }
    return out + "\"";
}

static std::string DumpData(DWORD type, const BYTE *data, DWORD size)
{
    if (type == REG_SZ)
        return DumpText((const char *)data, size);
    char hex[16];
    if (type == REG_DWORD && size == 4) {
        wsprintfA(hex, "dword:%08lx", *(const DWORD *)data);
        return hex;
    }
    wsprintfA(hex, type == REG_BINARY ? "hex:" : "hex(%lx):", type);
    std::string out = hex;
    for (DWORD i = 0; i < size; i++) {
        wsprintfA(hex, i ? ",%02x" : "%02x", data[i]);
        out += hex;
    }
    return out;
}

static void DumpKey(HKEY key, const std::string &path, const std::vector<std::string> &leaveOut,
                    std::string &out)
{
    std::vector<std::string> values;
    for (DWORD i = 0;; i++) {
        char name[1024];
        BYTE data[4096];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type;
        if (RegEnumValueA(key, i, name, &nameSize, 0, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        bool left = false;
        for (const std::string &l : leaveOut)
            left = left || !lstrcmpiA(l.c_str(), name);
        if (!left)
            values.push_back(Regedit4Value(name, type, data, dataSize));
    }
    std::sort(values.begin(), values.end());
    out += "[" + path + "]\r\n";
    for (const std::string &v : values)
        out += v + "\r\n";
    out += "\r\n";
    std::vector<std::string> subkeys;
    char sub[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, sub, sizeof sub) == ERROR_SUCCESS; i++)
        subkeys.push_back(sub);
    std::sort(subkeys.begin(), subkeys.end());
    for (const std::string &s : subkeys) {
        HKEY child;
        if (RegOpenKeyExA(key, s.c_str(), 0, KEY_READ, &child) != ERROR_SUCCESS)
            continue;
        DumpKey(child, path + "\\" + s, leaveOut, out);
        RegCloseKey(child);
    }
}

std::string Regedit4Value(const char *name, DWORD type, const BYTE *data, DWORD size)
{
    return (*name ? DumpText(name, (DWORD)lstrlenA(name)) : "@") + "=" + DumpData(type, data, size);
}

std::string Regedit4Key(HKEY root, const std::string &path, const std::string &shownPath,
                        const std::vector<std::string> &leaveOut)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    std::string out;
    DumpKey(key, shownPath, leaveOut, out);
    RegCloseKey(key);
    return out;
}
