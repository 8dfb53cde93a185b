/* Windows 95 has no MoveFileEx: a target is replaced by moving the old file aside
   under a temporary name, moving the new one in, and only then deleting the old one. */
#include "whole_file.h"
#include "change_log.h"
#include "destination.h"
#include <lzexpand.h>
#include "../shared/wininit.h"
#include "../shared/bounded_text.h"
#include "../shared/path_text.h"
#include "../shared/path_names.h"
#include "../shared/failure_note.h"
#include "../shared/crc32.h"
#include "../../resources/resource.h"

LONG DeclaredSize(INT source)
{
    LONG size = LZSeek(source, 0, 2);
    if (size < 0 || LZSeek(source, 0, 0) != 0)
        return -1;
    return size;
}

int MakeLoggedDirectory(const char *dir, int *made)
{
    int there;
    if (made)
        *made = 0;
    if (!IsPathThere(dir, &there) || (!there && !LogDirectory(dir)))
        return 0;
    if (CreateDirectoryA(dir, 0)) {
        if (made)
            *made = 1;
        return 1;
    }
    DWORD error = GetLastError();
    there = IsExistingDirectory(dir);
    SetLastError(error);   /* for the note of a directory that is not there */
    return there;
}

int NoteScheduleFailure(void)
{
    DWORD error = GetLastError();
    char ini[MAX_PATH];
    if (!WininitPath(ini, sizeof ini))
        CopyText(ini, sizeof ini, "WININIT.INI");
    SetLastError(error);
    return NoteFailure(IDS_CANNOTSCHEDULE, ini);
}

/* A free name of its own in dir ("KXnnnn.TMP", as the system's temporary names go),
   named in the log before anything takes it, so that a run that ends at any point
   leaves no temporary file the log does not name; a name already taken (by another
   program, or the user) is passed over. 0 when none can be found. */
static int NameTemporaryFile(const char *dir, char *name)
{
    static DWORD next;
    if (!next)
        next = GetTickCount();   /* where this run's names begin */
    for (int tries = 0; tries < 64; tries++) {
        char file[16];
        int there;
        wsprintfA(file, "KX%04X.TMP", (unsigned)(next++ & 0xFFFF));
        if (!JoinPath(name, MAX_PATH, dir, file) || !IsPathThere(name, &there))
            return 0;
        if (!there)
            return LogTemporary(name);
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

/* A new empty file of such a name, left open for writing at *opened. */
static int MakeTemporaryFile(const char *dir, char *name, HANDLE *opened)
{
    if (!NameTemporaryFile(dir, name))
        return 0;
    *opened = CreateFileA(name, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    return *opened != INVALID_HANDLE_VALUE;   /* not to be made; or taken in the moment
                                                 since the look, which the log then
                                                 names: a race this run cannot rule out */
}

/* The file open at out given the time it was last written now, cut to the 2 seconds
   a FAT directory keeps, set here instead of by its close (a time set on a handle is
   not changed by the close), so that the log knows it without a second look at the
   file. *stamp is left 0 when it cannot be set. */
static void StampWritten(HANDLE out, FILETIME *stamp)
{
    ULARGE_INTEGER now;
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    now.LowPart = time.dwLowDateTime;
    now.HighPart = time.dwHighDateTime;
    now.QuadPart -= now.QuadPart % 20000000;   /* 100 ns steps */
    time.dwLowDateTime = now.LowPart;
    time.dwHighDateTime = now.HighPart;
    if (SetFileTime(out, 0, 0, &time))
        *stamp = time;
}

/* The expansion service's output, taken in blocks this large and written whole:
   LZCopy writes a thousand bytes at a time, each a call to the system. */
#define EXPAND_BLOCK 32768

/* Expands the source into out, as LZCopy does: the bytes written, and in *crc their
   CRC-32, taken of each block as it is written; LZERROR_WRITE when the disk did not
   take a block whole (its error kept), another negative LZERROR_ when the source
   cannot be read or expanded. A source that gives more than it declared (expected) is
   not read on. */
static LONG ExpandBlocks(INT source, LONG expected, HANDLE out, DWORD *crc)
{
    char block[EXPAND_BLOCK];   /* on the stack: the program's data is part of its file */
    LONG total = 0;
    Crc32Table table;
    MakeCrc32Table(table);
    for (;;) {
        INT got = LZRead(source, block, EXPAND_BLOCK);
        if (got <= 0 || total > expected)
            return got < 0 ? got : total;
        DWORD put = 0;
        BOOL wrote = WriteFile(out, block, (DWORD)got, &put, 0);
        if (wrote && put != (DWORD)got)
            SetLastError(ERROR_DISK_FULL);   /* a disk that took part of it */
        if (!wrote || put != (DWORD)got)
            return LZERROR_WRITE;
        *crc = Crc32Add(table, *crc, block, (DWORD)got);
        total += got;
    }
}

/* The time of the file at path as its directory has it, for a file that could not be
   given one. */
static int ReadWrittenTime(const char *path, const char *target, FILETIME *time)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE)
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    FindClose(find);
    *time = found.ftLastWriteTime;
    return 1;
}

/* Expands the source into the file open at out (the file at path), stamps it
   (StampWritten) and closes it, with what the log keeps of it in *placed; 0, noted
   against target, when the disk did not take it whole, the source is not what it
   says or what it gave differs from check (when there is one). */
static int ExpandInto(INT source, LONG expected, const FileCheck *check, HANDLE out,
                      const char *path, const char *target, PlacedStamp *placed)
{
    FILETIME none = { 0, 0 };
    placed->crc = 0;
    placed->hasCrc = 1;
    placed->size = (DWORD)expected;
    placed->time = none;
    LONG written = ExpandBlocks(source, expected, out, &placed->crc);
    DWORD error = GetLastError();
    if (written == expected)
        StampWritten(out, &placed->time);
    CloseHandle(out);   /* a local file's close loses nothing the writes were given */
    SetLastError(error);
    if (written == LZERROR_WRITE)
        return NoteFailure(IDS_CANNOTWRITEFILE, target);   /* a write the disk did not
                                                              take whole */
    if (written < 0 || written != expected) {
        SetLastError(ERROR_INVALID_DATA);
        return NoteFailure(IDS_DAMAGEDSOURCE, target);
    }
    if (check && (check->Size != placed->size || check->Crc != placed->crc)) {
        SetLastError(ERROR_CRC);
        return NoteFailure(IDS_CHECKSUMDIFFERS, target);
    }
    return placed->time.dwLowDateTime || placed->time.dwHighDateTime ||
           ReadWrittenTime(path, target, &placed->time);
}

/* An old target that could not be moved aside (the last error) because it is in use, as
   a driver Windows has loaded, is replaced at the next start; the new file waits under
   its temporary name until then. An old target to be kept is copied there first. */
static int ReplaceAtRestart(const char *temporary, const char *target, const char *keep)
{
    if (!IsInUseError(GetLastError()))
        return NoteFailure(IDS_CANNOTWRITEFILE, target);
    if (keep && !CopyFileA(target, keep, FALSE))
        return NoteFailureOfTwo(IDS_CANNOTKEEPOLD, target, keep);
    return ScheduleRenameAtRestart(target, temporary) || NoteScheduleFailure();
}

/* Puts the complete temporary file in the place of target, which was there when it
   was looked at. A deletion or replacement still pending from an uninstall would undo
   the new file at the next start: it is taken out first, so that a failure leaves
   everything as it was. The old target is moved aside, to keep when keep names a place
   for it, else under a temporary name until the new file is in place (MoveFileA never
   replaces a file). */
static int PutInPlace(const char *temporary, const char *target, const char *dir,
                      const char *keep)
{
    char older[MAX_PATH];
    DWORD attributes;
    if (!CancelPendingAtRestart(target))
        return NoteScheduleFailure();
    if (!ToldAttributes(target, &attributes))
        return 0;
    if (attributes == INVALID_FILE_ATTRIBUTES)   /* gone since the look */
        return MoveFileA(temporary, target) || NoteFailure(IDS_CANNOTCREATEFILE, target);
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return NoteFailure(IDS_CANNOTWRITEFILE, target);
    }
    if (keep) {
        CopyText(older, sizeof older, keep);
        DeleteFileA(older);   /* only its name is wanted: MoveFileA does not replace */
    } else if (!NameTemporaryFile(dir, older)) {
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    }
    if (!MoveFileA(target, older))
        return ReplaceAtRestart(temporary, target, keep);
    if (!MoveFileA(temporary, target)) {
        DWORD error = GetLastError();
        int back = MoveFileA(older, target);
        SetLastError(error);
        return back ? NoteFailure(IDS_CANNOTWRITEFILE, target)
                    : NoteFailureOfTwo(IDS_OLDNOTBACK, target, older);
    }
    if (!keep)
        DeleteFileA(older);   /* should it stay, it costs room only */
    return 1;
}

int ExpandWhole(INT source, LONG expected, const FileCheck *check, const char *target,
                const char *keep, PlacedStamp *stamp)
{
    char dir[MAX_PATH], temporary[MAX_PATH];
    HANDLE out;
    if (!DirectoryOf(target, dir, sizeof dir) || !MakeTemporaryFile(dir, temporary, &out))
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    int placed = ExpandInto(source, expected, check, out, temporary, target, stamp) &&
                 PutInPlace(temporary, target, dir, keep);
    if (!placed)
        DeleteFileA(temporary);   /* a temporary file that stays costs room only; the next
                                     copy or the uninstaller takes it away */
    return placed;
}

int ExpandNew(INT source, LONG expected, const FileCheck *check, const char *target,
              PlacedStamp *stamp)
{
    if (!CancelPendingAtRestart(target))
        return NoteScheduleFailure();
    /* never over a file that came in the moment since the look */
    HANDLE out = CreateFileA(target, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    if (out == INVALID_HANDLE_VALUE)
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    if (ExpandInto(source, expected, check, out, target, target, stamp))
        return 1;
    DeleteFileA(target);   /* partial; should it stay, the log names it as being
                              written: a later try replaces it, the uninstaller removes it */
    return 0;
}
