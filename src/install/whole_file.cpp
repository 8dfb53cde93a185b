/* Windows 95 has no MoveFileEx: a target is replaced by moving the old file aside
   under a temporary name, moving the new one in, and only then deleting the old one. */
#include "whole_file.h"
#include "change_log.h"
#include <lzexpand.h>
#include "../shared/wininit.h"
#include "../shared/bounded_text.h"
#include "../shared/path_text.h"
#include "../shared/path_names.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"

LONG DeclaredSize(INT source)
{
    LONG size = LZSeek(source, 0, 2);
    if (size < 0 || LZSeek(source, 0, 0) != 0)
        return -1;
    return size;
}

int MakeDirectory(const char *dir, int *made)
{
    DWORD attributes;
    if (CreateDirectoryA(dir, 0)) {
        if (made)
            *made = 1;
        return 1;
    }
    DWORD error = GetLastError();
    int there = PathAttributes(dir, &attributes) && attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY);
    SetLastError(error);   /* for the note of a directory that is not there */
    return there;
}

int MakeLoggedDirectory(const char *dir, int *made)
{
    int there;
    if (made)
        *made = 0;
    if (!IsPathThere(dir, &there) || (!there && !LogDirectory(dir)))
        return 0;
    return MakeDirectory(dir, made);
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

/* A new empty file of a name of its own in dir ("KXnnnn.TMP", as the system's
   temporary names go), named in the log before it is made, so that a run that ends
   at any point leaves no temporary file the log does not name; a name already taken
   (by another program, or the user) is passed over. 0 when none can be made. */
static int MakeTemporaryFile(const char *dir, char *name)
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
        if (there)
            continue;
        if (!LogTemporary(name))
            return 0;
        HANDLE made = CreateFileA(name, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
        if (made == INVALID_HANDLE_VALUE)
            return 0;   /* not to be made; or taken in the moment since the look above,
                           which the log then names: a race this run cannot rule out */
        CloseHandle(made);   /* empty: nothing written to lose */
        return 1;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

/* Expands the source into the temporary file; 0, noted against target, on failure. */
static int ExpandInto(INT source, LONG expected, const char *temporary, const char *target)
{
    OFSTRUCT of;
    INT out = LZOpenFileA((LPSTR)temporary, &of, OF_CREATE);
    if (out < 0)
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    LONG written = LZCopy(source, out);
    LZClose(out);
    if (written == LZERROR_WRITE)
        return NoteFailure(IDS_CANNOTWRITEFILE, target);   /* a write the disk did not
                                                              take whole */
    if (written < 0 || written != expected) {
        SetLastError(ERROR_INVALID_DATA);
        return NoteFailure(IDS_DAMAGEDSOURCE, target);
    }
    return 1;
}

/* An old target that could not be moved aside (error) because it is in use, as a
   driver Windows has loaded, is replaced at the next start; the new file waits under
   its temporary name until then. An old target to be kept is copied there first. */
static int ReplaceAtRestart(const char *temporary, const char *target, const char *keep,
                            DWORD error)
{
    SetLastError(error);
    if (!IsInUseError(error))
        return NoteFailure(IDS_CANNOTWRITEFILE, target);
    if (keep && !CopyFileA(target, keep, FALSE))
        return NoteFailureOfTwo(IDS_CANNOTKEEPOLD, target, keep);
    return ScheduleRenameAtRestart(target, temporary) || NoteScheduleFailure();
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
    char older[MAX_PATH];
    if (!CancelPendingAtRestart(target))
        return NoteScheduleFailure();
    if (MoveFileA(temporary, target))
        return 1;
    DWORD error = GetLastError(), attributes;
    if (!ToldAttributes(target, &attributes))
        return 0;
    SetLastError(error);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return NoteFailure(IDS_CANNOTWRITEFILE, target);
    }
    if (keep)
        CopyText(older, sizeof older, keep);
    else if (!MakeTemporaryFile(dir, older))
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    DeleteFileA(older);   /* only its name is wanted: MoveFileA does not replace */
    if (!MoveFileA(target, older)) {
        DWORD error = GetLastError();
        if (!keep)
            DeleteFileA(older);   /* the name's empty file, should it still be there; a
                                     later copy takes away what stays */
        return ReplaceAtRestart(temporary, target, keep, error);
    }
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

int ExpandWhole(INT source, LONG expected, const char *target, const char *keep, char *holder)
{
    char dir[MAX_PATH], temporary[MAX_PATH];
    CopyText(holder, MAX_PATH, target);
    if (!DirectoryOf(target, dir, sizeof dir) || !MakeTemporaryFile(dir, temporary))
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    int placed = ExpandInto(source, expected, temporary, target) &&
                 PutInPlace(temporary, target, dir, keep);
    DWORD attributes;
    if (placed && PathAttributes(temporary, &attributes) && attributes != INVALID_FILE_ATTRIBUTES)
        CopyText(holder, MAX_PATH, temporary);   /* waiting for the next start */
    if (!placed)
        DeleteFileA(temporary);   /* a temporary file that stays costs room only; the next
                                     copy or the uninstaller takes it away */
    return placed;
}
