/* Small registry helpers of both programs. */
#ifndef REGISTRY_VALUES_H
#define REGISTRY_VALUES_H

#include <windows.h>

/* Creates or opens a key for writing; 1 on success. Keys are created to last. */
int CreateRegKey(HKEY root, const char *path, HKEY *key);

/* Opens an existing key; 1 on success. */
int OpenRegKey(HKEY root, const char *path, HKEY *key);

/* Opens a key that may not be there: 1 opened, 0 not there, -1 there but not opened. */
int OpenRegKeyIfThere(HKEY root, const char *path, HKEY *key);

/* A REG_SZ value, stored with the text's length (no terminating NUL); 1 when written. */
int SetRegText(HKEY key, const char *name, const char *text);

/* A REG_BINARY value of four zero bytes; 1 when written. */
int SetRegZeroFlags(HKEY key, const char *name);

/* 1 when the key holds a value of that name, of any type and length. */
int HasRegValue(HKEY key, const char *name);

/* A text value into buf (size bytes): 1 when it was there and fits whole; otherwise
   buf is empty and 0 is returned. */
int ReadRegText(HKEY key, const char *name, char *buf, int size);

/* A text value of any length, whole, in memory of LocalAlloc that the caller frees with
   LocalFree; 0 when the value cannot be read. */
char *ReadWholeRegText(HKEY key, const char *name);

/* An old value as it is recorded: empty when absent, cut to size - 1 when longer. */
void ReadOldValue(HKEY key, const char *name, char *buf, int size);

#endif
