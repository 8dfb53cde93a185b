/* The installed package, as the uninstall entry names it: where the driver-only mode
   records what it changes, so that the package's uninstaller puts it back. */
#ifndef INSTALLED_PACKAGE_H
#define INSTALLED_PACKAGE_H

/* 1 and *found 1 with its directory in dir (MAX_PATH bytes) when the uninstall entry
   runs an UNINSTAL.EXE that is there, beside its SETUP.INF; 1 and *found 0 when
   nothing is installed; 0, noted, when the entry or the directory cannot be read. */
int FindInstalledPackage(char *dir, int *found);

/* 1 when the SETUP.INF in dir can be opened for writing (a CD's, or a write-protected
   floppy's, cannot). */
int CanRecordIn(const char *dir);

#endif
