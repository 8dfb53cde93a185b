/* Setup's side of the install log (install_log.h): each change to the machine is
   written into it before it is made, with what was there, and each phase begins with
   a record that is flushed to the disk together with everything before it. The
   registry's changes are written as the registry calls are made. Outside a copy (the
   driver-only mode) no log is open and each call here does nothing. */
#ifndef CHANGE_LOG_H
#define CHANGE_LOG_H

#include <windows.h>
#include "../shared/placed_file.h"

/* The log of an installation into InstallDir begun, and the registry watched; 1, or 0
   noted. */
int BeginChangeLog(void);

/* A phase begins: its record, and the log flushed. */
int LogPhase(const char *name);

int LogDirectory(const char *dir);
/* *logged 1 when the file at target is the package's, not another program's: a run of
   this installation (an earlier one whose log this one carries on, or this one in a
   try before) put it there and it is still as placed (placed_file.h), or that run found
   nothing there and ended before its record of the file placed. 0, noted, when the
   file cannot be read. */
int LoggedBefore(const char *target, int *logged);
int LogFilePlacing(const char *target, int existed, const char *keep);
/* target in place, as placed has it (whole_file.h). */
int LogFilePlaced(const char *target, const PlacedStamp *placed);
int LogIniChange(const char *path, const char *oldLine, int found, const char *newLine,
                 DWORD attributes);
int LogSetAside(const char *from, const char *to);
int LogTemporary(const char *path);

/* The temporary files an earlier run of this installation named and could not take
   away, deleted (one that stays costs room only: the uninstaller takes it away). */
void DeleteLoggedTemporaries(void);

/* The log flushed and closed, the registry no longer watched; 1, or 0 noted. */
int EndChangeLog(void);

#endif
