/* The text work of the DefaultPath rule, apart from where the directories come from. */
#ifndef DEFAULT_PATH_H
#define DEFAULT_PATH_H

/* 1 when the value is a drive path: longer than two characters, a colon second. */
int IsDrivePath(const char *value);

/* The destination for a DefaultPath value: a drive path moved to the Windows drive, or
   the value below the program-files directory, with one backslash between. */
void ComposeOfferedDir(char *dir, int size, const char *value, char windowsDrive,
                       const char *programFilesDir);

#endif
