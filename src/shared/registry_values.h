/* Every registry call of both programs goes through here. A read answers one of three
   ways: a value (read whole, whatever its length), absent, or cannot be read; a call
   that fails leaves the platform's answer as the last error, for the failure note.
   Windows 95/98 give the handle already open when a key is opened again, and one close
   closes it for every holder: a key held here is handed out again, counted, and closed
   by its last holder, so the programs never open a key they hold. */
#ifndef REGISTRY_VALUES_H
#define REGISTRY_VALUES_H

#include <windows.h>

/* The longest key path the programs name, its NUL included. */
#define REG_PATH_SIZE 256

/* A value as it was before a change: its type and data (length bytes), or not there. */
struct RegPrior {
    int there;
    DWORD type;
    const char *data;
    DWORD length;
};

/* Told before each change the programs make through here: a key about to be created
   (name 0, prior 0), a value about to be set (type, data) or deleted (REG_NONE), with
   what it held, read through the caller's own key. Answering 0 stops the change, which
   then fails with the watcher's last error. */
typedef int (*RegistryWatcher)(HKEY root, const char *path, const char *name, DWORD type,
                               const BYTE *data, DWORD length, const RegPrior *prior);
/* The watcher of the changes from now on; 0: nobody watches. */
void WatchRegistry(RegistryWatcher watcher);

/* Creates or opens a key for writing; 1 on success. Keys are created to last. */
int CreateRegKey(HKEY root, const char *path, HKEY *key);

/* A key that may not be there, opened to read or change it: 1 and the key; 1 and
   *key 0 when there is no such key; 0 when it is there and cannot be opened. */
int OpenRegKey(HKEY root, const char *path, HKEY *key);

/* Lets go of a key opened or created here, closed once its last holder lets go (a key
   of 0 is left alone). */
void CloseRegKey(HKEY key);

/* A value of any type; 1 when written. */
int SetRegData(HKEY key, const char *name, DWORD type, const BYTE *data, DWORD length);

/* A REG_SZ value, stored with the text's length (no terminating NUL); 1 when written. */
int SetRegText(HKEY key, const char *name, const char *text);

/* A REG_BINARY value of four zero bytes; 1 when written. */
int SetRegZeroFlags(HKEY key, const char *name);

/* A value of any type, whole and NUL-ended: 1 and *text (FreeRegText frees it); 1 and
   *text 0 when the key holds no such value; 0 when it cannot be read. */
int ReadRegValue(HKEY key, const char *name, char **text);
void FreeRegText(char *text);

/* As ReadRegValue, with the value's type and its length in bytes. */
int ReadRegData(HKEY key, const char *name, DWORD *type, char **data, DWORD *length);

/* A value of the key at path that may not be there: as ReadRegValue, with *text 0 also
   when the key is not there. */
int ReadRegValueAt(HKEY root, const char *path, const char *name, char **text);

/* The index-th subkey's name into name (size bytes): 1 and the name; 1 and an empty
   name after the last; 0 when it cannot be read (also when it does not fit). */
int RegSubkeyName(HKEY key, DWORD index, char *name, int size);

/* 1 and *empty 1 when the key holds neither values nor subkeys; 0 when it cannot be
   asked. */
int IsRegKeyEmpty(HKEY key, int *empty);

/* The key (without subkeys, which must be gone first) or the value: 1 when it is gone,
   also when it never was. */
int DeleteRegKey(HKEY root, const char *path);
int DeleteRegValue(HKEY key, const char *name);

/* The path of a mouse class key under HKEY_LOCAL_MACHINE, CLASS_ROOT followed by the
   length characters of name ("Mouse\\0000"), in path (size bytes): 1; 0 when it does
   not fit, with path holding as much as fits, for a note. */
int ComposeClassKeyPath(const char *name, int length, char *path, int size);

#endif
