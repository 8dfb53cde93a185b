// Prints registry keys with their values and subkeys in REGEDIT4 form:
//   regexport4 HKEY_LOCAL_MACHINE\Some\Key ... [HKEY_...\Key::ValueName ...]
// A "::" argument prints that one value under its key. What does not exist is left out.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "regedit4_text.h"

static HKEY RootOf(const char *path, const char **rest)
{
    static const struct { const char *name; HKEY key; } roots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER}, {"HKEY_DYN_DATA", HKEY_DYN_DATA},
    };
    for (auto &r : roots) {
        size_t n = strlen(r.name);
        if (!strncmp(path, r.name, n) && (path[n] == '\\' || !path[n])) {
            *rest = path[n] ? path + n + 1 : path + n;
            return r.key;
        }
    }
    return 0;
}

static void ExportValue(HKEY key, const char *path, const char *name)
{
    BYTE data[16384];
    DWORD dataSize = sizeof data, type;
    if (RegQueryValueExA(key, name, 0, &type, data, &dataSize) == ERROR_SUCCESS)
        printf("[%s]\r\n%s\r\n\r\n", path, Regedit4Value(name, type, data, dataSize).c_str());
}

int main(int argc, char **argv)
{
    printf("REGEDIT4\r\n\r\n");
    for (int i = 1; i < argc; i++) {
        char path[1024];
        lstrcpynA(path, argv[i], sizeof path);
        char *valueName = strstr(path, "::");
        if (valueName) {
            *valueName = 0;
            valueName += 2;
        }
        const char *rest;
        HKEY root = RootOf(path, &rest), key;
        if (root && RegOpenKeyExA(root, rest, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            if (valueName)
                ExportValue(key, path, valueName);
            else
                fputs(Regedit4Key(root, rest, path).c_str(), stdout);
            RegCloseKey(key);
        }
    }
    return 0;
}
