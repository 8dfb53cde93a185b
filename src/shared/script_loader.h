/* Loading SETUP.INF into SetupState and the file table. */
#ifndef SCRIPT_LOADER_H
#define SCRIPT_LOADER_H

/* Reads the setup script beside the program into SetupState, with the program's
   directory in SetupDir; 1, or 0 when the file table cannot be had or the directory
   does not fit SetupDir. */
int LoadSetupScript(void);

/* The program's own directory, without a trailing backslash, in dir (size bytes); 0
   when it does not fit. */
int FindProgramDir(char *dir, int size);

/* The Windows directory into WindowsDir, then LoadSetupScript; 1 when both succeeded.
   The script is loaded in either case, so that Caption is built. */
int LoadScriptAndWindowsDir(void);
int LoadScriptFromAndWindowsDir(const char *dir);

/* Frees the block that holds the file table. */
void ReleaseFileTable(void);

#endif
