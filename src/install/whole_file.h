/* Expanding a file so that its target is either whole or as it was before. */
#ifndef WHOLE_FILE_H
#define WHOLE_FILE_H

#include <windows.h>

/* What became of one file of the copy. */
enum CopyOutcome {
    COPY_DONE = 0,          /* in place, or in place at the next start of Windows */
    COPY_NO_SOURCE,         /* the source could not be opened */
    COPY_CANNOT_CREATE,     /* no file could be made beside the target */
    COPY_CANNOT_WRITE,      /* writing failed (a full disk), or a read-only target */
    COPY_DAMAGED,           /* the expansion failed or came out another size */
    COPY_CANNOT_SCHEDULE,   /* WININIT.INI could not be read or written */
    COPY_CANNOT_RECORD,     /* the record of an older file to keep could not be written */
    COPY_CANNOT_KEEP,       /* the older file could not be kept (OlderFileName) */
    COPY_OLD_NOT_BACK,      /* the new file failed and the older one could not go back:
                               it is left under OlderFileName */
    COPY_NO_DIRECTORY       /* a directory of the script could not be made */
};

/* Expands the open LZ source, which declares itself expected bytes long, into target:
   first into a temporary file in the target's directory, which takes the target's
   place only once it is complete. An old target is kept under a temporary name until
   the new file is in place; one that is in use is replaced at the next start of
   Windows. What WININIT.INI would still do to target at the next start (delete it,
   replace it) is taken out first. A failure leaves the old target as it was and no
   temporary file behind. With keep, the old target is moved there, not deleted (or
   copied there when it is in use and replaced at the next start). */
int ExpandWhole(INT source, LONG expected, const char *target, const char *keep);

/* Makes one directory level; 1 when it is there afterwards. */
int MakeDirectory(const char *dir);

/* Where the last ExpandWhole left the old target, or meant to keep it. */
const char *OlderFileName(void);

/* The size an open LZ source declares (its expanded size; a plain file's own size),
   with the source read from its start again; -1 when it cannot be told. */
LONG DeclaredSize(INT source);

#endif
