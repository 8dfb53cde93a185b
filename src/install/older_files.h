/* Older files outside the destination that files of the package replace. */
#ifndef OLDER_FILES_H
#define OLDER_FILES_H

#include "../shared/file_table.h"

/* For an entry outside the destination (the Windows, SYSTEM or INF directory) that the
   record does not hold yet: when its target is there, the place below the destination
   where the older file is to be kept, REPLACED\ and its directory's name, made and
   noted in the record, in keep (MAX_PATH bytes); otherwise keep is empty, and a target
   not there is recorded as such. *there says whether a file is at target. 1, or 0 with
   what failed noted (the record, or the folder that keeps older files). */
int PlaceToKeepOlderFile(const FileEntry *e, const char *target, char *keep, int *there);

#endif
