/* Loading SETUP.INF into SetupState and the file table. */
#ifndef SCRIPT_LOADER_H
#define SCRIPT_LOADER_H

/* Reads the setup script beside the program into SetupState, with the program's
   directory in SetupDir; 1, or 0 when the script cannot be read, the file table cannot
   be had or the directory does not fit SetupDir: noted as the reading error (the
   script's path and the platform's error). */
int LoadSetupScript(void);

/* The program's own directory, without a trailing backslash, in dir (size bytes); 0
   when it does not fit. */
int FindProgramDir(char *dir, int size);

/* The Windows directory into WindowsDir, then LoadSetupScript; 1 when both succeeded
   (a Windows directory too long is noted as the reading error too).
   The script is loaded in either case, so that Caption is built. */
int LoadScriptAndWindowsDir(void);
int LoadScriptFromAndWindowsDir(const char *dir);

/* Frees the block that holds the file table. */
void ReleaseFileTable(void);

#endif
