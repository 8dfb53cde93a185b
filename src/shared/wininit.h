/* Work left for the next start of Windows: the [rename] section of WININIT.INI in the
   Windows directory, which Windows 95/98 carries out before it loads any driver. */
#ifndef WININIT_H
#define WININIT_H

/* At the next start, source is renamed to target (an existing target is replaced);
   1 when the entry was written. Both paths are written in their short (8.3) form, and
   both must lie on one drive (ERROR_NOT_SAME_DEVICE): WININIT.EXE renames within a
   drive only. */
int ScheduleRenameAtRestart(const char *target, const char *source);

/* At the next start, path is deleted (a NUL= entry); 1 when the entry was written. */
int ScheduleDeleteAtRestart(const char *path);

/* Takes out every entry that would delete path or replace it at the next start, other
   entries kept in order; 1 when nothing pending on path remains (with no WININIT.INI
   at once). */
int CancelPendingAtRestart(const char *path);

/* 1 and *pending 1 when an entry deletes path or replaces it at the next start; 0 when
   WININIT.INI cannot be read. */
int IsPendingAtRestart(const char *path, int *pending);

/* on: from now on the look-ups above read the file once and use what they read until
   this program rewrites it; off: they read it each time. For a run of many look-ups
   (the copy) in which no other program is expected to write it. */
void RememberWininit(int on);

/* Deletes WININIT.INI when it holds nothing but blanks (all its lines taken out). */
void DeleteEmptyWininit(void);

/* 1 for the errors of a file that is in use (held open, a loaded driver): what can
   only be deleted or replaced at the next start. */
int IsInUseError(unsigned long error);

/* The path of WININIT.INI in the Windows directory; 0 when it does not fit size bytes. */
int WininitPath(char *path, int size);

#endif
