#include "registry_values.h"
#include "bounded_text.h"
#include "product_keys.h"

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

/* The keys open now: the place each stands for, from its root (so that a watcher is
   told of a value by its key's name, and a key is found again by its place), and how
   many hold it. The programs hold a few at a time; a key that would not fit is not
   opened, since it could not be found again. */
#define OPEN_KEYS 16
static struct {
    HKEY key, root;
    int holders;
    char path[REG_PATH_SIZE];
} OpenKeys[OPEN_KEYS];
static RegistryWatcher Watcher;

void WatchRegistry(RegistryWatcher watcher)
{
    Watcher = watcher;
}

static int HeldKey(HKEY key)
{
    for (int i = 0; i < OPEN_KEYS; i++)
        if (OpenKeys[i].holders && OpenKeys[i].key == key)
            return i;
    return -1;
}

/* The place of path below parent, from its root, in root and full (REG_PATH_SIZE); 0,
   with ERROR_BAD_PATHNAME, when it does not fit. */
static int PlaceOf(HKEY parent, const char *path, HKEY *root, char *full)
{
    int held = HeldKey(parent);
    const char *above = held >= 0 ? OpenKeys[held].path : "";
    if (TextLength(above) + 1 + TextLength(path) >= REG_PATH_SIZE) {
        SetLastError(ERROR_BAD_PATHNAME);
        return 0;
    }
    *root = held >= 0 ? OpenKeys[held].root : parent;
    CopyText(full, REG_PATH_SIZE, above);
    if (above[0] && path[0])
        AppendText(full, REG_PATH_SIZE, "\\");
    AppendText(full, REG_PATH_SIZE, path);
    return 1;
}

/* The key held for that place, its holders counted up; 0 when none is. */
static HKEY HoldAgain(HKEY root, const char *path)
{
    for (int i = 0; i < OPEN_KEYS; i++)
        if (OpenKeys[i].holders && OpenKeys[i].root == root && SameTextNoCase(OpenKeys[i].path, path)) {
            OpenKeys[i].holders++;
            return OpenKeys[i].key;
        }
    return 0;
}

static int FreeSlot(void)
{
    for (int i = 0; i < OPEN_KEYS; i++)
        if (!OpenKeys[i].holders)
            return i;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
}

static void RememberKey(int slot, HKEY key, HKEY root, const char *path)
{
    OpenKeys[slot].key = key;
    OpenKeys[slot].root = root;
    OpenKeys[slot].holders = 1;
    CopyText(OpenKeys[slot].path, sizeof OpenKeys[slot].path, path);
}

/* The place of sub below parent, in root and path (REG_PATH_SIZE), and *key the key
   held for it (its holders counted up), or *key 0 and a free *slot for it; 0 when the
   place does not fit or every slot is taken. */
static int Place(HKEY parent, const char *sub, HKEY *root, char *path, HKEY *key, int *slot)
{
    *key = 0;
    if (!PlaceOf(parent, sub, root, path))
        return 0;
    if ((*key = HoldAgain(*root, path)) != 0)
        return 1;
    return (*slot = FreeSlot()) >= 0;
}

int CreateRegKey(HKEY parent, const char *sub, HKEY *key)
{
    HKEY root;
    char path[REG_PATH_SIZE];
    int slot;
    if (!Place(parent, sub, &root, path, key, &slot))
        return 0;
    if (*key)
        return 1;
    if (Watcher && !Watcher(root, path, 0, 0, 0, 0, 0))   /* told of the key itself */
        return 0;
    /* REG_OPTION_NON_VOLATILE: on a registry that honours the volatile option, the
       entries would vanish at the very restart the program asks for. */
    if (!Succeeded(RegCreateKeyExA(root, path, 0, 0, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   0, key, 0)))
        return 0;
    RememberKey(slot, *key, root, path);
    return 1;
}

int OpenRegKey(HKEY parent, const char *sub, HKEY *key)
{
    HKEY root;
    char path[REG_PATH_SIZE];
    int slot;
    if (!Place(parent, sub, &root, path, key, &slot))
        return 0;
    if (*key)
        return 1;
    LONG opened = RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, key);
    if (opened != ERROR_SUCCESS)
        *key = 0;
    else
        RememberKey(slot, *key, root, path);
    return NotThere(opened) || Succeeded(opened);
}

void CloseRegKey(HKEY key)
{
    int held = key ? HeldKey(key) : -1;
    if (held < 0 || --OpenKeys[held].holders > 0)
        return;
    RegCloseKey(key);   /* a key only read or already written: nothing to lose */
}

/* The watcher told of a change about to be made to a value of the held key, with the
   value's data now; 1 when the change may be made, 0 when the value cannot be read or
   the key is not one held here. */
static int MayChangeValue(HKEY key, const char *name, DWORD type, const BYTE *data,
                          DWORD length)
{
    if (!Watcher)
        return 1;
    RegPrior prior = { 0, 0, 0, 0 };
    char *old;
    if (!ReadRegData(key, name, &prior.type, &old, &prior.length))
        return 0;
    prior.there = old != 0;
    prior.data = old;
    int held = HeldKey(key), told = 0;
    if (held < 0)
        SetLastError(ERROR_INVALID_HANDLE);
    else   /* a key's default value (name 0) is the value of the empty name */
        told = Watcher(OpenKeys[held].root, OpenKeys[held].path, name ? name : "", type, data,
                       length, &prior);
    FreeRegText(old);
    return told;
}

int SetRegData(HKEY key, const char *name, DWORD type, const BYTE *data, DWORD length)
{
    return MayChangeValue(key, name, type, data, length) &&
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
        char *whole = (char *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size + 1);
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
        GlobalFree(whole);
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
        GlobalFree(text);
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
    if (!MayChangeValue(key, name, REG_NONE, 0, 0))
        return 0;
    LONG deleted = RegDeleteValueA(key, name);
    return NotThere(deleted) || Succeeded(deleted);
}

int ComposeClassKeyPath(const char *name, int length, char *path, int size)
{
    CopyText(path, size, CLASS_ROOT);
    int at = TextLength(path), fits = length >= 0 && at + length < size;
    int kept = fits ? length : size - 1 - at;
    if (kept > 0) {
        CopyMemory(path + at, name, kept);
        path[at + kept] = 0;
    }
    return fits;
}
