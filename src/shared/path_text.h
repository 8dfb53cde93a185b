/* The text of a path: joining, its directory, its one form. Every program and the
   package checker name a place through these, never by hand. */
#ifndef PATH_TEXT_H
#define PATH_TEXT_H

/* dir and name with one backslash between into out (size bytes; out may be dir): none
   is added after a dir that ends in one (a root, "C:\") or before a name that begins
   with one, and an empty name adds nothing. 0 when the whole does not fit: out then
   holds as much as fits. */
int JoinPath(char *out, int size, const char *dir, const char *name);

/* The directory path lies in, into dir (size bytes): up to its last backslash, which
   stays only where it is a root's ("C:\X" gives "C:\"); empty for a path without one.
   0 when it does not fit. */
int DirectoryOf(const char *path, char *dir, int size);

/* The last part of a path: "SYSTEM" of "C:\WINDOWS\SYSTEM". */
const char *LastPartOf(const char *path);

/* Puts a whole path in its one form, in place: backslashes in a row after the first
   character become one, and none stays at the end but a root's ("C:\"). */
void TidyPlace(char *path);

/* 1 when value names directories below another, one or more levels ("DRIVERS\WIN95"):
   not empty, no drive, no backslash at its start, no ".." among its parts. */
int IsRelativeDir(const char *value);

/* 1 when both paths begin with the same drive letter ("C:", in either case). */
int OnOneDrive(const char *a, const char *b);

/* 1 when path is a drive's whole path in 8.3 parts ("C:\WINDOWS\KXMOUSE.INI"): each
   name at most eight characters and an extension of at most three, no blank in it, as
   WININIT.EXE reads a path before Windows starts. */
int IsShortFormPath(const char *path);

#endif
