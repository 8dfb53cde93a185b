/* The installed package, as the uninstall entry names it: where the driver-only mode
   records what it changes, so that the package's uninstaller puts it back. */
#ifndef INSTALLED_PACKAGE_H
#define INSTALLED_PACKAGE_H

/* 1 and *found 1 with its directory in dir (MAX_PATH bytes) when the uninstall entry
   runs an UNINSTAL.EXE that is there, beside its SETUP.INF; 1 and *found 0 when
   nothing is installed; 0, noted, when the entry or the directory cannot be read. */
int FindInstalledPackage(char *dir, int *found);

/* 1 and *can 1 when the SETUP.INF in dir can be opened for writing, *can 0 when its
   medium cannot be written (a CD, a write-protected floppy, a read-only file); 0, noted,
   when it cannot be opened for another reason. */
int CanRecordIn(const char *dir, int *can);

#endif
