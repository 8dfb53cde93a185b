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

int CreateRegKey(HKEY root, const char *path, HKEY *key)
{
    /* REG_OPTION_NON_VOLATILE: on a registry that honours the volatile option, the
       entries would vanish at the very restart the program asks for. */
    return Succeeded(RegCreateKeyExA(root, path, 0, 0, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                     0, key, 0));
}

int OpenRegKey(HKEY root, const char *path, HKEY *key)
{
    LONG opened = RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key);
    if (opened != ERROR_SUCCESS)
        *key = 0;
    return NotThere(opened) || Succeeded(opened);
}

void CloseRegKey(HKEY key)
{
    if (key)
        RegCloseKey(key);   /* a key only read or already written: nothing to lose */
}

int SetRegText(HKEY key, const char *name, const char *text)
{
    return Succeeded(RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text,
                                    (DWORD)lstrlenA(text)));
}

int SetRegZeroFlags(HKEY key, const char *name)
{
    static const BYTE zero[4] = { 0, 0, 0, 0 };
    return Succeeded(RegSetValueExA(key, name, 0, REG_BINARY, zero, sizeof zero));
}

int ReadRegValue(HKEY key, const char *name, char **text)
{
    *text = 0;
    for (;;) {
        DWORD length = 0;
        LONG asked = RegQueryValueExA(key, name, 0, 0, 0, &length);
        if (NotThere(asked))
            return 1;
        if (!Succeeded(asked))
            return 0;
        char *whole = (char *)LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, length + 1);
        if (!whole)
            return 0;
        DWORD read = length;
        LONG answered = RegQueryValueExA(key, name, 0, 0, (BYTE *)whole, &read);
        if (answered == ERROR_SUCCESS) {
            *text = whole;   /* the extra byte stays NUL: a text stored without its own
                                ends there */
            return 1;
        }
        LocalFree(whole);
        if (answered != ERROR_MORE_DATA)   /* grown since it was measured: again */
            return NotThere(answered) || Succeeded(answered);
    }
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
    LONG deleted = RegDeleteValueA(key, name);
    return NotThere(deleted) || Succeeded(deleted);
}
