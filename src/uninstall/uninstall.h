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
    int HasLog = 0;           /* the installation's log was found: the way back follows it */
    int LeftCount = 0;        /* what someone changed since, left as it is */
};
extern UNINSTALLSTATE UninstallState;

/* Exit codes, with -s and without. */
enum UninstallResult {
    UNINSTALL_DONE = 0,          /* everything of its own removed and put back; what
                                    someone changed since is left (and reported) */
    UNINSTALL_NOTHING = 1,       /* nothing of the package is installed here */
    UNINSTALL_INCOMPLETE = 2,    /* something could not be removed or put back */
    UNINSTALL_DECLINED = 3,      /* No at the question: nothing changed */
    UNINSTALL_USAGE = 4          /* -s with an option it does not know: nothing changed */
};

/* The steps, in their order. Each does what it can, notes what it cannot
   (failure_note.h), and returns 1 when nothing failed, else 0. */
int FindRegisteredInstallation(void);   /* sets OwnsSharedState */
int RemoveProductRegistration(void);    /* the page handler and Run value naming this directory */
int RestoreMouseDevice(void);           /* the recorded values, the own node */
int RestoreSystemIni(void);             /* the old mouse line, VMOUSE.VXD */
int RemoveInstalledFiles(void);         /* the script's files, older ones put back */
/* Only when every step before succeeded, in this order, so that what is left after a
   failure can still be found and removed: */
int RemoveInstalledScript(void);        /* SETUP.INF */
int RemoveUninstallEntry(void);         /* when it names this directory */
int RemoveOwnProgram(void);             /* this program, at the next start */

/* 1 and *own 1 when the uninstall entry runs this directory's UNINSTAL.EXE; 0, noted,
   when the entry cannot be read. */
int OwnUninstallEntry(int *own);

/* 1 when a command (the uninstall entry's, the start-up command, the page's server)
   runs the program name from this directory. */
int CommandInOwnDirectory(const char *command, const char *name);

/* What the record in the installed SETUP.INF holds for the key: 1, with *recorded 1 and
   the text in value (RECORD_VALUE_SIZE bytes), or *recorded 0; 0, noted, when the
   record cannot be read. */
int ReadRecord(const char *section, const char *key, char *value, int *recorded);

/* The installation's log (install_log.h), read: 1 and *found; 0, noted, when it is
   there and cannot be read. */
int FindInstallLog(int *found);
/* The product name and title the log names (size bytes each); 0 when it names none. */
int LoggedPackage(char *product, char *title, int size);
/* The mouse line of system.ini from before the first installation: 1, with *known 1
   and the line (empty: there was none), or *known 0 when the log holds none. */
int LoggedMouseLine(char *old, int size, int *known);
/* 1 when the log says setup set VMOUSE.VXD aside. */
int LoggedSetAside(void);
/* The log's registry changes undone, last first (the uninstall entry excepted). */
int UndoLoggedRegistry(void);
/* The log's files and directories undone (script and self excepted: self may be 0). */
int UndoLoggedFiles(const char *script, const char *self);
/* Both copies of the log deleted. */
int ForgetInstallLog(void);

/* Something of setup's that someone changed since, left as it is: named in the
   report, counted. */
void NoteLeft(const char *what);

/* Files: deleted now, or at the next start when in use; the older file put back in
   place of the package's; a directory setup made, removed, or *left 1 when it holds
   what is not the package's. 1, or 0 noted. */
int RemoveFile(const char *path);
int PutOlderFileBack(const char *target, const char *kept);
int ClearLoggedDirectory(const char *dir, int *left);

/* Registry removal: 1 when the key is gone with its subkeys, also when it never was. */
int DeleteRegTree(HKEY root, const char *path);
/* Deletes the key when it holds neither values nor subkeys; 1, or 0 noted. */
int DeleteRegKeyIfEmpty(HKEY root, const char *path);
/* Opens a key to change it: 1 and the key, or 1 and *key 0 when it is not there; 0,
   noted, when it is there and cannot be opened. */
int OpenKeyToChange(HKEY root, const char *path, HKEY *key);
/* A key that could not be read, deleted or changed back, noted; 0. */
int KeyNotRemoved(HKEY root, const char *path);

#endif
