/* Deleting keys and values. A key is deleted with its subkeys first: RegDeleteKeyA of
   Windows 95 takes the subkeys along, that of later systems and of Wine refuses. */
#include "uninstall.h"
#include "../shared/registry_values.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

#define KEY_NAME_SIZE 80
#define MAX_KEY_DEPTH 8   /* the product's keys are two levels deep */

static int DeleteKeyBelow(HKEY parent, const char *name, int depth)
{
    HKEY key;
    LONG opened = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return 1;
    if (opened != ERROR_SUCCESS || depth > MAX_KEY_DEPTH) {
        if (opened == ERROR_SUCCESS)
            RegCloseKey(key);
        return 0;
    }
    char sub[KEY_NAME_SIZE];
    DWORD index = 0, length = sizeof sub;
    while (RegEnumKeyExA(key, index, sub, &length, 0, 0, 0, 0) == ERROR_SUCCESS) {
        if (!DeleteKeyBelow(key, sub, depth + 1))
            index++;   /* it stays; the key then cannot go either */
        length = sizeof sub;
    }
    RegCloseKey(key);
    LONG deleted = RegDeleteKeyA(parent, name);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

int DeleteRegTree(HKEY root, const char *path)
{
    return DeleteKeyBelow(root, path, 0);
}

int DeleteRegValue(HKEY key, const char *name)
{
    LONG deleted = RegDeleteValueA(key, name);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

void DeleteRegKeyIfEmpty(HKEY root, const char *path)
{
    HKEY key;
    int opened = OpenRegKeyIfThere(root, path, &key);
    if (opened <= 0) {
        if (opened < 0)
            KeyNotRemoved(root, path);
        return;
    }
    DWORD subkeys = 1, values = 1;
    LONG asked = RegQueryInfoKeyA(key, 0, 0, 0, &subkeys, 0, 0, &values, 0, 0, 0, 0);
    RegCloseKey(key);
    if (asked != ERROR_SUCCESS ||
        (subkeys == 0 && values == 0 && RegDeleteKeyA(root, path) != ERROR_SUCCESS))
        KeyNotRemoved(root, path);
}

int KeyNotRemoved(HKEY root, const char *path)
{
    return NoteKeyFailure(IDS_CANNOTREMOVEKEY, root, path);
}

int OpenKeyToChange(HKEY root, const char *path, HKEY *key)
{
    int opened = OpenRegKeyIfThere(root, path, key);
    if (opened < 0)
        KeyNotRemoved(root, path);
    return opened > 0;
}
