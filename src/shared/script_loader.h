/* Loading SETUP.INF into SetupState and the file table. */
#ifndef SCRIPT_LOADER_H
#define SCRIPT_LOADER_H

/* Reads the setup script beside the program; 1, or 0 when the file table cannot be had. */
int LoadSetupScript(void);

/* The Windows directory into WindowsDir, then LoadSetupScript; 1 when both succeeded.
   The script is loaded in either case, so that Caption is built. */
int LoadScriptAndWindowsDir(void);

/* Frees the block that holds the file table. */
void ReleaseFileTable(void);

/* Allocates the zero-filled block for files records plus the group items; 1 or 0. */
int AllocateFileTable(short files);

/* Turns the script's DefaultPath value into InstallDir. */
void ApplyDefaultPath(const char *value);

#endif
