/* Windows 95 has no MoveFileEx: a target is replaced by moving the old file aside
   under a temporary name, moving the new one in, and only then deleting the old one. */
#include "whole_file.h"
#include <lzexpand.h>
#include "../shared/wininit.h"
#include "../shared/bounded_text.h"

LONG DeclaredSize(INT source)
{
    LONG size = LZSeek(source, 0, 2);
    if (size < 0 || LZSeek(source, 0, 0) != 0)
        return -1;
    return size;
}

/* The directory part of path: without its last backslash, unless that is the root's. */
static void DirectoryOf(const char *path, char *dir, int size)
{
    int cut = 0;
    for (int i = 0; path[i]; i++)
        if (path[i] == '\\')
            cut = i;
    if (cut == 2 && path[1] == ':')
        cut++;
    CopyText(dir, cut + 1 < size ? cut + 1 : size, path);
}

int MakeDirectory(const char *dir)
{
    DWORD attributes;
    return CreateDirectoryA(dir, 0) ||
           ((attributes = GetFileAttributesA(dir)) != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

/* A new empty file of a name of its own in dir; 0 when none can be made. */
static int MakeTemporaryFile(const char *dir, char *name)
{
    return GetTempFileNameA(dir, "KX", 0, name) != 0;
}

/* Expands the source into the temporary file; an outcome. */
static int ExpandInto(INT source, LONG expected, const char *temporary)
{
    OFSTRUCT of;
    INT out = LZOpenFileA((LPSTR)temporary, &of, OF_CREATE);
    if (out < 0)
        return COPY_CANNOT_CREATE;
    LONG written = LZCopy(source, out);
    LZClose(out);
    if (written == LZERROR_WRITE)
        return COPY_CANNOT_WRITE;   /* a write the disk did not take whole */
    if (written < 0 || written != expected)
        return COPY_DAMAGED;
    return COPY_DONE;
}

static int InUse(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

static char OlderFile[MAX_PATH];   /* where PutInPlace left or meant to keep the old target */

const char *OlderFileName(void)
{
    return OlderFile;
}

/* An old target that could not be moved aside (error) because it is in use, as a
   driver Windows has loaded, is replaced at the next start; the new file waits under
   its temporary name until then. An old target to be kept is copied there first. */
static int ReplaceAtRestart(const char *temporary, const char *target, const char *keep,
                            DWORD error)
{
    if (!InUse(error))
        return COPY_CANNOT_WRITE;
    if (keep && !CopyFileA(target, keep, FALSE))
        return COPY_CANNOT_KEEP;
    return ScheduleRenameAtRestart(target, temporary) ? COPY_DONE : COPY_CANNOT_SCHEDULE;
}

/* Puts the complete temporary file in the target's place. MoveFileA never replaces a
   file, so it succeeds at once only where there was none. A deletion or replacement
   still pending from an uninstall would undo the new file at the next start: it is
   taken out first, so that a failure leaves everything as it was. The old target is
   moved aside, to keep when keep names a place for it, else under a temporary name
   until the new file is in place. */
static int PutInPlace(const char *temporary, const char *target, const char *dir,
                      const char *keep)
{
    if (!CancelPendingAtRestart(target))
        return COPY_CANNOT_SCHEDULE;
    if (MoveFileA(temporary, target))
        return COPY_DONE;
    DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return COPY_CANNOT_CREATE;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return COPY_CANNOT_WRITE;
    if (keep)
        CopyText(OlderFile, sizeof OlderFile, keep);
    else if (!MakeTemporaryFile(dir, OlderFile))
        return COPY_CANNOT_CREATE;
    DeleteFileA(OlderFile);   /* only its name is wanted: MoveFileA does not replace */
    if (!MoveFileA(target, OlderFile)) {
        DWORD error = GetLastError();
        if (!keep)
            DeleteFileA(OlderFile);   /* the name's empty file, should it still be there; a
                                         later copy takes away what stays */
        return ReplaceAtRestart(temporary, target, keep, error);
    }
    if (!MoveFileA(temporary, target))
        return MoveFileA(OlderFile, target) ? COPY_CANNOT_WRITE : COPY_OLD_NOT_BACK;
    if (!keep)
        DeleteFileA(OlderFile);   /* should it stay, it costs room only */
    return COPY_DONE;
}

int ExpandWhole(INT source, LONG expected, const char *target, const char *keep)
{
    char dir[MAX_PATH], temporary[MAX_PATH];
    DirectoryOf(target, dir, sizeof dir);
    if (!MakeTemporaryFile(dir, temporary))
        return COPY_CANNOT_CREATE;
    int outcome = ExpandInto(source, expected, temporary);
    if (outcome == COPY_DONE)
        outcome = PutInPlace(temporary, target, dir, keep);
    if (outcome != COPY_DONE)
        DeleteFileA(temporary);
    return outcome;
}
