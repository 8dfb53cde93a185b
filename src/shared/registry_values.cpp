#include "registry_values.h"
#include "bounded_text.h"

int CreateRegKey(HKEY root, const char *path, HKEY *key)
{
    /* REG_OPTION_NON_VOLATILE: on a registry that honours the volatile option, the
       entries would vanish at the very restart the program asks for. */
    return RegCreateKeyExA(root, path, 0, 0, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, 0, key,
                           0) == ERROR_SUCCESS;
}

int OpenRegKey(HKEY root, const char *path, HKEY *key)
{
    return RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key) == ERROR_SUCCESS;
}

int OpenRegKeyIfThere(HKEY root, const char *path, HKEY *key)
{
    LONG opened = RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key);
    if (opened == ERROR_SUCCESS)
        return 1;
    return opened == ERROR_FILE_NOT_FOUND || opened == ERROR_PATH_NOT_FOUND ? 0 : -1;
}

int SetRegText(HKEY key, const char *name, const char *text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)lstrlenA(text)) ==
           ERROR_SUCCESS;
}

int SetRegZeroFlags(HKEY key, const char *name)
{
    static const BYTE zero[4] = { 0, 0, 0, 0 };
    return RegSetValueExA(key, name, 0, REG_BINARY, zero, sizeof zero) == ERROR_SUCCESS;
}

int HasRegValue(HKEY key, const char *name)
{
    DWORD length = 0;
    return RegQueryValueExA(key, name, 0, 0, 0, &length) == ERROR_SUCCESS;
}

int ReadRegText(HKEY key, const char *name, char *buf, int size)
{
    DWORD length = (DWORD)size;
    ZeroMemory(buf, size);
    if (RegQueryValueExA(key, name, 0, 0, (BYTE *)buf, &length) != ERROR_SUCCESS ||
        (length >= (DWORD)size && buf[size - 1])) {   /* no room left for the NUL */
        buf[0] = 0;
        return 0;
    }
    return 1;
}

char *ReadWholeRegText(HKEY key, const char *name)
{
    DWORD length = 0;
    if (RegQueryValueExA(key, name, 0, 0, 0, &length) != ERROR_SUCCESS)
        return 0;
    char *whole = (char *)LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, length + 1);
    if (!whole)
        return 0;
    if (RegQueryValueExA(key, name, 0, 0, (BYTE *)whole, &length) != ERROR_SUCCESS) {
        LocalFree(whole);
        return 0;
    }
    return whole;   /* the extra byte stays NUL: a text stored without its own ends there */
}

void ReadOldValue(HKEY key, const char *name, char *buf, int size)
{
    if (ReadRegText(key, name, buf, size))
        return;
    /* Longer than the buffer: read it whole from the heap and keep its beginning. */
    char *whole = ReadWholeRegText(key, name);
    if (!whole)
        return;
    CopyText(buf, size, whole);
    LocalFree(whole);
}
