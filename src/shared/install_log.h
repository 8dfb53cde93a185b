/* The install log: everything setup changes on the machine, written down before the
   change is made (an announcement of each phase, flushed) and as it is made (what was
   done and what was there), so that the way back undoes exactly that. One copy lies in
   the destination, one in the Windows directory under the same name, so that losing
   the destination, or its SETUP.INF, loses nothing the way back needs. Each line is a
   record (log_lines.h); the first names the installation's directory. */
#ifndef INSTALL_LOG_H
#define INSTALL_LOG_H

#include <windows.h>
#include "profile_text.h"

#define INSTALL_LOG_NAME "KXSETUP.LOG"
#define LOG_HEADER "KXSETUP-LOG"   /* the first record: the installation's directory */

/* Record kinds, each a line's first field. */
#define LOG_PACKAGE "PACKAGE"   /* product name, title */
#define LOG_PHASE   "PHASE"     /* a phase begins: its name */
#define LOG_DIR     "DIR"       /* a directory about to be made: its path */
#define LOG_FILE    "FILE"      /* a file about to be put in place: target, 1 when one was
                                   there, where that older one is kept (or empty) */
#define LOG_PLACED  "PLACED"    /* put in place: target, size, last-write time */
#define LOG_KEY     "KEY"       /* a key about to be made: root, path */
#define LOG_VALUE   "VALUE"     /* a value about to be set: root, path, name, type, data,
                                   then 1, type and data of the value before, or 0 */
#define LOG_INI     "INI"       /* system.ini about to be patched: path, 1 and the mouse
                                   line before or 0, the new line, the attributes */
#define LOG_ASIDE   "ASIDE"     /* a file about to be renamed: from, to */
#define LOG_TEMP    "TEMP"      /* a temporary file of setup's, just made: its path */

/* A registry root as a record names it ("HKLM"), and back (0 for no such name). */
const char *LogRootName(HKEY root);
HKEY LogRoot(const char *name);

/* Setup's writing: both copies made anew with their first line, or with the whole
   lines of an earlier log of the same installation (earlier, or 0), which the new
   records then follow; each record appended to both; both flushed to the disk (once a
   phase, not a file); closed. Each returns 1, or 0 with the copy that failed noted
   under textId (failure_note.h). */
int StartInstallLog(const char *dir, const ProfileText *earlier, unsigned int textId);
int WriteLogRecord(const char *line, unsigned int textId);
int FlushInstallLog(unsigned int textId);
void CloseInstallLog(void);

/* The log of the installation in dir: 1 and its whole lines in log (FreeIniFile frees
   it), found 0 and an empty text when neither copy is there, or a copy's first line
   names another directory (a copy made along with the directory, or another
   installation's in the Windows directory); 0, noted under textId, when a copy that is
   there cannot be read or the two disagree beyond a line torn by a power cut. */
int ReadInstallLog(const char *dir, ProfileText *log, int *found, unsigned int textId);

/* Both copies deleted, the last thing of the way back; 1 also when they were not
   there, or 0 noted. */
int RemoveInstallLog(const char *dir, unsigned int textId);

#endif
