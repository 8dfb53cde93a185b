/* Deleting keys and values. A key is deleted with its subkeys first, and only once none
   is left: RegDeleteKeyA of Windows 95 takes every subkey along, also one that should
   stay; that of later systems and of Wine refuses. */
#include "uninstall.h"
#include "../shared/registry_values.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

#define KEY_NAME_SIZE 256
#define MAX_KEY_DEPTH 8   /* the product's keys are two levels deep */

static int DeleteKeyBelow(HKEY parent, const char *name, int depth)
{
    HKEY key;
    if (!OpenRegKey(parent, name, &key) || depth > MAX_KEY_DEPTH) {
        CloseRegKey(key);
        return 0;
    }
    if (!key)
        return 1;
    char sub[KEY_NAME_SIZE];
    DWORD index = 0;
    int read;
    while ((read = RegSubkeyName(key, index, sub, sizeof sub)) && sub[0])
        if (!DeleteKeyBelow(key, sub, depth + 1))
            index++;   /* it stays; the key then cannot go either */
    CloseRegKey(key);
    return read && index == 0 && DeleteRegKey(parent, name);
}

int DeleteRegTree(HKEY root, const char *path)
{
    return DeleteKeyBelow(root, path, 0) || KeyNotRemoved(root, path);
}

int DeleteRegKeyIfEmpty(HKEY root, const char *path, int *left)
{
    HKEY key;
    int empty;
    if (left)
        *left = 0;
    if (!OpenRegKey(root, path, &key))
        return KeyNotRemoved(root, path);
    if (!key)
        return 1;
    int asked = IsRegKeyEmpty(key, &empty);
    CloseRegKey(key);
    if (!asked || (empty && !DeleteRegKey(root, path)))
        return KeyNotRemoved(root, path);
    if (left)
        *left = !empty;
    return 1;
}

int KeyNotRemoved(HKEY root, const char *path)
{
    return NoteKeyFailure(IDS_CANNOTREMOVEKEY, root, path);
}

int OpenKeyToChange(HKEY root, const char *path, HKEY *key)
{
    return OpenRegKey(root, path, key) || KeyNotRemoved(root, path);
}
