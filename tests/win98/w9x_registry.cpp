// The registry as Windows 95/98 hand it out: one handle per key, closed for every
// holder at once; a key deleted with its subkeys; texts read back with their NUL.
#include <string.h>
#include "w9x.h"

// Wine's advapi32 tests (registry.c, test_reg_close_key): "win98 doesn't give a new
// handle when the same key is opened". A key opened again while it is open gives the
// handle already open, and one RegCloseKey closes it for every holder. A closed
// handle's real key is kept open, so that its number is never handed out again and
// every later use of it shows.
#define KEYS 8192
#define KEY_PATH 400
static struct {
    HKEY handle;
    int closed;
    int listed;   // found by its path: open, and its key not deleted
    char path[KEY_PATH];
} Keys[KEYS];
static int KeyCount;

static const char *RootName(HKEY key)
{
    if (key == HKEY_CLASSES_ROOT)
        return "HKLM\\SOFTWARE\\CLASSES";   // one key on Windows 95/98, under both names
    if (key == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (key == HKEY_CURRENT_USER)
        return "HKCU";
    if (key == HKEY_USERS)
        return "HKU";
    if (key == HKEY_CURRENT_CONFIG)
        return "HKCC";
    if (key == HKEY_DYN_DATA)
        return "HKDD";
    return 0;
}

static int Entry(HKEY key)
{
    for (int i = 0; i < KeyCount; i++)
        if (Keys[i].handle == key)
            return i;
    return -1;
}

static int IsClosed(HKEY key)
{
    int i = Entry(key);
    return i >= 0 && Keys[i].closed;
}

// A use of a closed handle: answered ERROR_INVALID_HANDLE, and told.
static LONG ClosedKeyUsed(const char *call, HKEY key)
{
    char detail[KEY_PATH + 64];
    wsprintfA(detail, "%s on %s", call, Keys[Entry(key)].path);
    Tell("closed key used", detail);
    return ERROR_INVALID_HANDLE;
}

// The one form of the key sub below key ("HKLM\SOFTWARE\X", upper case) into path;
// 0 for a key this layer did not hand out.
static int PathBelow(HKEY key, const char *sub, char *path)
{
    const char *root = RootName(key);
    int i = root ? -1 : Entry(key);
    if (!root && (i < 0 || !Keys[i].listed))
        return 0;
    Copy(path, KEY_PATH, root ? root : Keys[i].path);
    if (sub && sub[0]) {
        Append(path, KEY_PATH, "\\");
        Append(path, KEY_PATH, sub[0] == '\\' ? sub + 1 : sub);
    }
    CharUpperA(path);
    for (int n = lstrlenA(path); n > 0 && path[n - 1] == '\\'; n--)
        path[n - 1] = 0;
    return lstrlenA(path) < KEY_PATH - 1;
}

static int Listed(const char *path)
{
    for (int i = 0; i < KeyCount; i++)
        if (Keys[i].listed && !lstrcmpA(Keys[i].path, path))
            return i;
    return -1;
}

static void Remember(HKEY key, const char *path)
{
    int i = Entry(key);
    if (i < 0 && KeyCount < KEYS)
        i = KeyCount++;
    if (i < 0) {
        Tell("more keys than the layer holds", path);
        return;
    }
    Keys[i].handle = key;
    Keys[i].closed = 0;
    Keys[i].listed = 1;
    Copy(Keys[i].path, KEY_PATH, path);
}

// Opened or made; Windows 95/98 know no access rights, so every key is opened whole.
static LONG OpenWhole(HKEY key, const char *sub, DWORD options, REGSAM access, HKEY *result,
                      int create, DWORD *disposition)
{
    for (int pass = 0; pass < 2; pass++) {
        REGSAM asked = pass ? access : KEY_ALL_ACCESS;
        LONG r = create ? RegCreateKeyExA(key, sub, 0, 0, options, asked, 0, result, disposition)
                        : RegOpenKeyExA(key, sub, 0, asked, result);
        if (r != ERROR_ACCESS_DENIED)
            return r;
    }
    return ERROR_ACCESS_DENIED;
}

static LONG OpenShared(const char *call, HKEY key, const char *sub, DWORD options, REGSAM access,
                       HKEY *result, int create, DWORD *disposition)
{
    char path[KEY_PATH];
    if (IsClosed(key))
        return ClosedKeyUsed(call, key);
    if (!PathBelow(key, sub, path))
        return OpenWhole(key, sub, options, access, result, create, disposition);
    int open = Listed(path);
    if (open >= 0) {
        *result = Keys[open].handle;
        if (disposition)
            *disposition = REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    }
    LONG r = OpenWhole(key, sub, options, access, result, create, disposition);
    if (r == ERROR_SUCCESS)
        Remember(*result, path);
    return r;
}

extern "C" LONG WINAPI W9X_RegOpenKeyExA(HKEY key, const char *sub, DWORD, REGSAM access, HKEY *result)
{
    return OpenShared("RegOpenKeyExA", key, sub, 0, access, result, 0, 0);
}

extern "C" LONG WINAPI W9X_RegOpenKeyA(HKEY key, const char *sub, HKEY *result)
{
    return OpenShared("RegOpenKeyA", key, sub, 0, KEY_ALL_ACCESS, result, 0, 0);
}

extern "C" LONG WINAPI W9X_RegCreateKeyExA(HKEY key, const char *sub, DWORD, char *, DWORD options,
                                           REGSAM access, SECURITY_ATTRIBUTES *, HKEY *result,
                                           DWORD *disposition)
{
    return OpenShared("RegCreateKeyExA", key, sub, options, access, result, 1, disposition);
}

extern "C" LONG WINAPI W9X_RegCreateKeyA(HKEY key, const char *sub, HKEY *result)
{
    return OpenShared("RegCreateKeyA", key, sub, 0, KEY_ALL_ACCESS, result, 1, 0);
}

// registry.c, test_reg_close_key: "Windows 95 doesn't mind" a handle closed twice.
extern "C" LONG WINAPI W9X_RegCloseKey(HKEY key)
{
    int i = RootName(key) ? -1 : Entry(key);
    if (i < 0)
        return RegCloseKey(key);
    Keys[i].closed = 1;
    Keys[i].listed = 0;
    return ERROR_SUCCESS;
}

// Windows 95 deletes a key with all its subkeys (Microsoft's CRegKey::DeleteSubKey,
// Visual C++ 6: "Under Windows 95, DeleteSubKey deletes the key and all its subkeys").
static LONG DeleteTree(HKEY parent, const char *sub)
{
    HKEY key;
    LONG r = RegOpenKeyExA(parent, sub, 0, KEY_ALL_ACCESS, &key);
    if (r != ERROR_SUCCESS)
        return r;
    char name[256];
    DWORD length = sizeof name;
    while (r == ERROR_SUCCESS && RegEnumKeyExA(key, 0, name, &length, 0, 0, 0, 0) == ERROR_SUCCESS) {
        r = DeleteTree(key, name);
        length = sizeof name;
    }
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? RegDeleteKeyA(parent, sub) : r;
}

extern "C" LONG WINAPI W9X_RegDeleteKeyA(HKEY key, const char *sub)
{
    char path[KEY_PATH];
    if (IsClosed(key))
        return ClosedKeyUsed("RegDeleteKeyA", key);
    LONG r = DeleteTree(key, sub);
    if (r == ERROR_SUCCESS && PathBelow(key, sub, path)) {
        int length = lstrlenA(path);
        for (int i = 0; i < KeyCount; i++)   // a key made there later is another key
            if (!strncmp(Keys[i].path, path, (size_t)length) &&
                (Keys[i].path[length] == 0 || Keys[i].path[length] == '\\'))
                Keys[i].listed = 0;
    }
    return r;
}

// registry.c (test_query_value_ex, test_set_value): Windows 95/98 count a text's
// terminating NUL in the size they answer, also for a text stored without it, and end
// the text at its first NUL; a missing value leaves the size as it was and the type 0.
extern "C" LONG WINAPI W9X_RegQueryValueExA(HKEY key, const char *name, DWORD *reserved, DWORD *type,
                                            BYTE *data, DWORD *size)
{
    if (IsClosed(key))
        return ClosedKeyUsed("RegQueryValueExA", key);
    DWORD kind = 0, whole = 0;
    LONG r = RegQueryValueExA(key, name, reserved, &kind, 0, &whole);
    if (r == ERROR_FILE_NOT_FOUND && type)
        *type = 0;
    if (r != ERROR_SUCCESS || (kind != REG_SZ && kind != REG_EXPAND_SZ))
        return r != ERROR_SUCCESS ? r : RegQueryValueExA(key, name, reserved, type, data, size);
    char *text = (char *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, whole + 1);
    if (!text)
        return ERROR_NOT_ENOUGH_MEMORY;
    r = RegQueryValueExA(key, name, reserved, &kind, (BYTE *)text, &whole);
    DWORD length = (DWORD)lstrlenA(text) + 1;
    if (r == ERROR_SUCCESS && type)
        *type = kind;
    if (r == ERROR_SUCCESS && data && (!size || *size < length))
        r = ERROR_MORE_DATA;
    else if (r == ERROR_SUCCESS && data)
        CopyMemory(data, text, length);
    if ((r == ERROR_SUCCESS || r == ERROR_MORE_DATA) && size)
        *size = length;
    HeapFree(GetProcessHeap(), 0, text);
    return r;
}

// registry.c (test_set_value): a REG_SZ without data is ERROR_INVALID_PARAMETER on Win9x.
extern "C" LONG WINAPI W9X_RegSetValueExA(HKEY key, const char *name, DWORD reserved, DWORD type,
                                          const BYTE *data, DWORD size)
{
    if (IsClosed(key))
        return ClosedKeyUsed("RegSetValueExA", key);
    if (type == REG_SZ && !data)
        return ERROR_INVALID_PARAMETER;
    return RegSetValueExA(key, name, reserved, type, data, size);
}

extern "C" LONG WINAPI W9X_RegDeleteValueA(HKEY key, const char *name)
{
    return IsClosed(key) ? ClosedKeyUsed("RegDeleteValueA", key) : RegDeleteValueA(key, name);
}

extern "C" LONG WINAPI W9X_RegEnumKeyExA(HKEY key, DWORD index, char *name, DWORD *length,
                                         DWORD *reserved, char *cls, DWORD *classLength,
                                         FILETIME *written)
{
    return IsClosed(key) ? ClosedKeyUsed("RegEnumKeyExA", key)
                         : RegEnumKeyExA(key, index, name, length, reserved, cls, classLength, written);
}

extern "C" LONG WINAPI W9X_RegEnumValueA(HKEY key, DWORD index, char *name, DWORD *length,
                                         DWORD *reserved, DWORD *type, BYTE *data, DWORD *size)
{
    return IsClosed(key) ? ClosedKeyUsed("RegEnumValueA", key)
                         : RegEnumValueA(key, index, name, length, reserved, type, data, size);
}

extern "C" LONG WINAPI W9X_RegQueryInfoKeyA(HKEY key, char *cls, DWORD *classLength, DWORD *reserved,
                                            DWORD *subkeys, DWORD *subkeyLength, DWORD *classMax,
                                            DWORD *values, DWORD *valueNameLength,
                                            DWORD *valueLength, DWORD *security, FILETIME *written)
{
    return IsClosed(key) ? ClosedKeyUsed("RegQueryInfoKeyA", key)
                         : RegQueryInfoKeyA(key, cls, classLength, reserved, subkeys, subkeyLength,
                                            classMax, values, valueNameLength, valueLength, security,
                                            written);
}
