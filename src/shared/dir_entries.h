/* The entries of a directory, and setup's own temporary files among them. */
#ifndef DIR_ENTRIES_H
#define DIR_ENTRIES_H

/* Calls each with the path of every entry of dir that matches pattern ("*", "KX*.TMP"),
   but "." and "..", whether it is a directory, and context. 1 when the directory could
   be looked through (also when it is not there or nothing matches); 0 when it cannot
   be read. */
int ForEachEntry(const char *dir, const char *pattern,
                 void (*each)(const char *path, int isDir, void *context), void *context);

/* The names setup's temporary files have ("KXnnnn.TMP"): earlier versions' uninstaller
   took them away by this pattern; the log names them now. */
#define SETUP_TEMPORARIES "KX*.TMP"

#endif
