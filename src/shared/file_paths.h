/* Where a file of the file table is read from and written to. */
#ifndef FILE_PATHS_H
#define FILE_PATHS_H

#include "file_table.h"

/* setupDir\SourceDir\SourceName */
void ComposeSourcePath(char *path, int size, const char *setupDir, const FileEntry *e);

/* installDir\TargetDir\TargetName, or TargetDir\TargetName when TargetDir is whole. */
void ComposeTargetPath(char *path, int size, const char *installDir, const FileEntry *e);

#endif
