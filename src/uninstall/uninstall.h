/* UNINSTAL.EXE: takes the package out of the directory it runs from and puts back
   what SETUP.EXE changed, in the order of its steps. */
#ifndef UNINSTALL_H
#define UNINSTALL_H

#include <windows.h>

/* The uninstaller's own run-time state, beside SetupState (which holds the script, the
   directory it runs from as InstallDir, and what failed). */
struct UNINSTALLSTATE {
    int Silent = 0;           /* -s: no window and no restart */
    int OwnsSharedState = 1;  /* no other installation of the package is registered:
                                 the device, system.ini and the Windows files are ours */
};
extern UNINSTALLSTATE UninstallState;

/* Exit codes, with -s and without. */
enum UninstallResult {
    UNINSTALL_DONE = 0,          /* everything removed and put back */
    UNINSTALL_NOTHING = 1,       /* nothing of the package is installed here */
    UNINSTALL_INCOMPLETE = 2,    /* something could not be removed or put back */
    UNINSTALL_DECLINED = 3       /* No at the question: nothing changed */
};

/* The steps, in their order. Each notes what it cannot do (failure_note.h). */
void FindRegisteredInstallation(void);  /* sets OwnsSharedState */
void RemoveProductRegistration(void);   /* the page handler and Run value naming this directory */
void RestoreMouseDevice(void);          /* the recorded values, the own node */
void RestoreSystemIni(void);            /* the old mouse line, VMOUSE.VXD */
void RemoveInstalledFiles(void);        /* the script's files, older ones put back */
/* Only when every step before succeeded, in this order, so that what is left after a
   failure can still be found and removed: */
int RemoveInstalledScript(void);        /* SETUP.INF; 1 when it is gone */
void RemoveUninstallEntry(void);        /* when it names this directory */
void RemoveOwnProgram(void);            /* this program, at the next start */

/* 1 when the uninstall entry runs this directory's UNINSTAL.EXE. */
int OwnUninstallEntry(void);

/* 1 when a command (the uninstall entry's, the start-up command, the page's server)
   runs the program name from this directory. */
int CommandInOwnDirectory(const char *command, const char *name);

/* 1 and the text when the record in the installed SETUP.INF holds the key; 0 when not,
   and when the record cannot be read, which is noted as a failure. */
int Recorded(const char *section, const char *key, char *value);

/* Registry removal: 1 when the key or value is gone, also when it never was. */
int DeleteRegTree(HKEY root, const char *path);
int DeleteRegValue(HKEY key, const char *name);
/* Deletes the key when it holds neither values nor subkeys; a failure is noted. */
void DeleteRegKeyIfEmpty(HKEY root, const char *path);
/* Opens a key to change it: 1 when opened; 0 when it is not there, or when it cannot be
   opened, which is noted as a failure. */
int OpenKeyToChange(HKEY root, const char *path, HKEY *key);
/* A key that could not be deleted or changed back, noted; 0. */
int KeyNotRemoved(HKEY root, const char *path);

#endif
