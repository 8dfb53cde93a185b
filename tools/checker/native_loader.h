/* SETUP.EXE's script loader run natively on a package's SETUP.INF. */
#ifndef NATIVE_LOADER_H
#define NATIVE_LOADER_H

/* The Windows directory the loaded records name for the Win keywords. */
#define NATIVE_WINDOWS_DIR "C:\\WINDOWS"

/* Loads the script at path into SetupState and a new file table, exactly as
   SETUP.EXE's loader does; 1, or 0 where SETUP.EXE shows its reading error. */
int LoadScriptFile(const char *path);

/* The same for the profile taken last (OpenProfileFile or UseProfileText). */
int LoadScriptFromProfile(void);

/* Frees the file table of the last load. */
void ReleaseFileTable(void);

#endif
