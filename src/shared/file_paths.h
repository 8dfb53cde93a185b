/* Where a file of the file table is read from and written to. */
#ifndef FILE_PATHS_H
#define FILE_PATHS_H

#include "file_table.h"

/* setupDir\SourceDir\SourceName, joined as JoinPath joins (path_text.h); 0 when it
   does not fit size bytes. */
int ComposeSourcePath(char *path, int size, const char *setupDir, const FileEntry *e);

/* installDir\TargetDir\TargetName, or TargetDir\TargetName when TargetDir is whole;
   0 when it does not fit. */
int ComposeTargetPath(char *path, int size, const char *installDir, const FileEntry *e);

/* The longest path the copy opens for an entry below installDir: its target, or the
   temporary file it is expanded into first (a name of 10 characters) in the same
   directory. 0 for an entry whose target is whole. */
int LongestCopyPath(const char *installDir, const FileEntry *e);

/* The LZ expansion service holds a path in 128 bytes, its terminating NUL included. */
#define LZ_PATH_LIMIT 127

#endif
