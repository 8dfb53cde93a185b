// Prints registry keys with their values and subkeys in REGEDIT4 form:
//   regexport4 HKEY_LOCAL_MACHINE\Some\Key ... [HKEY_...\Key::ValueName ...]
// A "::" argument prints that one value under its key. What does not exist is left out.
#include <windows.h>
#include <stdio.h>
#include <string.h>

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

static void PrintText(const char *text, DWORD size)
{
    putchar('"');
    for (DWORD i = 0; i < size && text[i]; i++) {
        if (text[i] == '\\' || text[i] == '"')
            putchar('\\');
        putchar(text[i]);
    }
    putchar('"');
}

static void PrintValue(const char *name, DWORD type, const BYTE *data, DWORD size)
{
    if (*name)
        PrintText(name, (DWORD)strlen(name));
    else
        putchar('@');
    putchar('=');
    if (type == REG_SZ) {
        PrintText((const char *)data, size);
    } else if (type == REG_DWORD && size == 4) {
        printf("dword:%08lx", *(const DWORD *)data);
    } else {
        printf(type == REG_BINARY ? "hex:" : "hex(%lx):", type);
        for (DWORD i = 0; i < size; i++)
            printf(i ? ",%02x" : "%02x", data[i]);
    }
    printf("\r\n");
}

static void Export(HKEY key, const char *path)
{
    printf("[%s]\r\n", path);
    char name[16384];
    BYTE data[16384];
    for (DWORD i = 0;; i++) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type;
        if (RegEnumValueA(key, i, name, &nameSize, 0, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        PrintValue(name, type, data, dataSize);
    }
    printf("\r\n");
    for (DWORD i = 0;; i++) {
        char sub[256];
        DWORD subSize = sizeof sub;
        if (RegEnumKeyExA(key, i, sub, &subSize, 0, 0, 0, 0) != ERROR_SUCCESS)
            break;
        HKEY child;
        if (RegOpenKeyExA(key, sub, 0, KEY_READ, &child) != ERROR_SUCCESS)
            continue;
        char childPath[1024];
        _snprintf(childPath, sizeof childPath, "%s\\%s", path, sub);
        childPath[sizeof childPath - 1] = 0;
        Export(child, childPath);
        RegCloseKey(child);
    }
}

static void ExportValue(HKEY key, const char *path, const char *name)
{
    BYTE data[16384];
    DWORD dataSize = sizeof data, type;
    if (RegQueryValueExA(key, name, 0, &type, data, &dataSize) != ERROR_SUCCESS)
        return;
    printf("[%s]\r\n", path);
    PrintValue(name, type, data, dataSize);
    printf("\r\n");
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
                Export(key, path);
            RegCloseKey(key);
        }
    }
    return 0;
}
