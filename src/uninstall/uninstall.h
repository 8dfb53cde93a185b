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

/* A path in a buffer of this size: one that does not fit names no file setup made. */
#define UNINSTALL_PATH_SIZE (MAX_PATH + 16)

/* The ways back, each doing what it can, noting what it cannot (failure_note.h), and
   returning 1 when nothing failed, else 0: by the install log (log_undo.cpp), or by
   the record of an earlier version (earlier_removal.h). */
int UndoInstallLog(void);
/* Only when the way back succeeded, in this order, so that what is left after a
   failure can still be found and removed: */
int RemoveInstalledScript(void);        /* SETUP.INF */
int ForgetInstallLog(void);             /* both copies of the log, where there are */
int RemoveOwnProgram(void);             /* this program, at the next start */

/* What the record in the installed SETUP.INF holds for the key: 1, with *recorded 1 and
   the text in value (RECORD_VALUE_SIZE bytes), or *recorded 0; 0, noted, when the
   record cannot be read. */
int ReadRecord(const char *section, const char *key, char *value, int *recorded);

/* The installation's log (install_log.h), read: 1 and *found; 0, noted, when it is
   there and cannot be read. */
int FindInstallLog(int *found);
/* The product name and title the log names (size bytes each); 0 when it names none. */
int LoggedPackage(char *product, char *title, int size);

/* system.ini's mouse line given back, as lineBefore reads it from before setup (1 and
   *known 1 with the line in RECORD_VALUE_SIZE bytes, empty when there was none; *known 0 when nothing says; 0,
   noted, when it cannot be read), unless the line was changed since; VMOUSE.VXD gets
   its name back when setAside says setup set it aside. */
int RestoreSystemIni(int (*lineBefore)(char *old, int *known), int setAside);

/* Something of setup's that someone changed since, left as it is: named in the
   report, counted. */
void NoteLeft(const char *what);

/* Files: deleted now, or at the next start when in use; the older file put back in
   place of the package's; a directory setup made, removed, or *left 1 (left may be 0)
   when it holds what is not the package's. 1, or 0 noted. */
int RemoveFile(const char *path);
int PutOlderFileBack(const char *target, const char *kept);
int RemoveEmptyDirectory(const char *dir, int *left);
/* 1 for the script or this program: they go last, after every other step. */
int GoesLast(const char *path);

/* Registry removal: 1 when the key is gone with its subkeys, also when it never was;
   0 noted. */
int DeleteRegTree(HKEY root, const char *path);
/* Deletes the key when it holds neither values nor subkeys, else *left 1 (left may be
   0); 1, or 0 noted. */
int DeleteRegKeyIfEmpty(HKEY root, const char *path, int *left);
/* Opens a key to change it: 1 and the key, or 1 and *key 0 when it is not there; 0,
   noted, when it is there and cannot be opened. */
int OpenKeyToChange(HKEY root, const char *path, HKEY *key);
/* A key that could not be read, deleted or changed back, noted; 0. */
int KeyNotRemoved(HKEY root, const char *path);

#endif
