#include "registry_values.h"
#include "bounded_text.h"

/* The platform's answer: 1 on success; otherwise it is made the last error. */
static int Succeeded(LONG result)
{
    if (result == ERROR_SUCCESS)
        return 1;
    SetLastError((DWORD)result);
    return 0;
}

static int NotThere(LONG result)
{
    return result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND;
}

/* The keys open now, with the place each stands for, so that a watcher is told of a
   value by its key's name: the programs hold a few at a time. */
#define OPEN_KEYS 16
static struct {
    HKEY key, root;
    char path[REG_PATH_SIZE];
} OpenKeys[OPEN_KEYS];
static RegistryWatcher Watcher;

void WatchRegistry(RegistryWatcher watcher)
{
    Watcher = watcher;
}

static void RememberKey(HKEY key, HKEY root, const char *path)
{
    for (int i = 0; i < OPEN_KEYS; i++)
        if (!OpenKeys[i].key) {
            OpenKeys[i].key = key;
            OpenKeys[i].root = root;
            CopyText(OpenKeys[i].path, sizeof OpenKeys[i].path, path);
            return;
        }
    /* more keys open than the table holds: a change through this one is refused below
       while a watcher wants to know of it */
}

/* The watcher told of a change about to be made to a value of key (name 0: the key
   itself); 1 when the change may be made. */
static int TellWatcher(HKEY key, HKEY root, const char *path, const char *name, DWORD type,
                       const BYTE *data, DWORD length)
{
    if (!Watcher)
        return 1;
    if (!path) {
        for (int i = 0; i < OPEN_KEYS && !path; i++)
            if (OpenKeys[i].key == key) {
                root = OpenKeys[i].root;
                path = OpenKeys[i].path;
            }
        if (!path) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
    }
    return Watcher(root, path, name, type, data, length);
}

int CreateRegKey(HKEY root, const char *path, HKEY *key)
{
    *key = 0;
    if (lstrlenA(path) >= REG_PATH_SIZE) {
        SetLastError(ERROR_BAD_PATHNAME);
        return 0;
    }
    if (!TellWatcher(0, root, path, 0, 0, 0, 0))
        return 0;
    /* REG_OPTION_NON_VOLATILE: on a registry that honours the volatile option, the
       entries would vanish at the very restart the program asks for. */
    if (!Succeeded(RegCreateKeyExA(root, path, 0, 0, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   0, key, 0)))
        return 0;
    RememberKey(*key, root, path);
    return 1;
}

int OpenRegKey(HKEY root, const char *path, HKEY *key)
{
    LONG opened = RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key);
    if (opened != ERROR_SUCCESS)
        *key = 0;
    else
        RememberKey(*key, root, path);
    return NotThere(opened) || Succeeded(opened);
}

void CloseRegKey(HKEY key)
{
    if (!key)
        return;
    for (int i = 0; i < OPEN_KEYS; i++)
        if (OpenKeys[i].key == key)
            OpenKeys[i].key = 0;
    RegCloseKey(key);   /* a key only read or already written: nothing to lose */
}

int SetRegData(HKEY key, const char *name, DWORD type, const BYTE *data, DWORD length)
{
    /* a key's default value (name 0) is the value of the empty name */
    return TellWatcher(key, 0, 0, name ? name : "", type, data, length) &&
           Succeeded(RegSetValueExA(key, name, 0, type, data, length));
}

int SetRegText(HKEY key, const char *name, const char *text)
{
    return SetRegData(key, name, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text));
}

int SetRegZeroFlags(HKEY key, const char *name)
{
    static const BYTE zero[4] = { 0, 0, 0, 0 };
    return SetRegData(key, name, REG_BINARY, zero, sizeof zero);
}

int ReadRegData(HKEY key, const char *name, DWORD *type, char **data, DWORD *length)
{
    *data = 0;
    for (;;) {
        DWORD size = 0;
        LONG asked = RegQueryValueExA(key, name, 0, 0, 0, &size);
        if (NotThere(asked))
            return 1;
        if (!Succeeded(asked))
            return 0;
        char *whole = (char *)LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size + 1);
        if (!whole)
            return 0;
        DWORD read = size;
        LONG answered = RegQueryValueExA(key, name, 0, type, (BYTE *)whole, &read);
        if (answered == ERROR_SUCCESS) {
            *data = whole;   /* the extra byte stays NUL: a text stored without its own
                                ends there */
            *length = read;
            return 1;
        }
        LocalFree(whole);
        if (answered != ERROR_MORE_DATA)   /* grown since it was measured: again */
            return NotThere(answered) || Succeeded(answered);
    }
}

int ReadRegValue(HKEY key, const char *name, char **text)
{
    DWORD type, length;
    return ReadRegData(key, name, &type, text, &length);
}

void FreeRegText(char *text)
{
    if (text)
        LocalFree(text);
}

int ReadRegValueAt(HKEY root, const char *path, const char *name, char **text)
{
    HKEY key;
    *text = 0;
    if (!OpenRegKey(root, path, &key))
        return 0;
    if (!key)
        return 1;
    int read = ReadRegValue(key, name, text);
    CloseRegKey(key);
    return read;
}

int RegSubkeyName(HKEY key, DWORD index, char *name, int size)
{
    DWORD length = (DWORD)size;
    LONG result = RegEnumKeyExA(key, index, name, &length, 0, 0, 0, 0);
    if (result == ERROR_NO_MORE_ITEMS) {
        CopyText(name, size, "");
        return 1;
    }
    return Succeeded(result);
}

int IsRegKeyEmpty(HKEY key, int *empty)
{
    DWORD subkeys = 1, values = 1;
    int asked = Succeeded(RegQueryInfoKeyA(key, 0, 0, 0, &subkeys, 0, 0, &values, 0, 0, 0, 0));
    *empty = asked && subkeys == 0 && values == 0;
    return asked;
}

int DeleteRegKey(HKEY root, const char *path)
{
    LONG deleted = RegDeleteKeyA(root, path);
    return NotThere(deleted) || Succeeded(deleted);
}

int DeleteRegValue(HKEY key, const char *name)
{
    if (!TellWatcher(key, 0, 0, name ? name : "", REG_NONE, 0, 0))
        return 0;
    LONG deleted = RegDeleteValueA(key, name);
    return NotThere(deleted) || Succeeded(deleted);
}
