/* Files and directories as both ways back remove them: a read-only file is made
   writable and deleted; only a file in use, and this program itself, are deleted at
   the next start of Windows; a directory goes when it is left empty. */
#include "uninstall.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/file_paths.h"
#include "../shared/wininit.h"
#include "../shared/dir_entries.h"
#include "../shared/path_names.h"
#include "../shared/path_text.h"
#include "../shared/prior_values.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

/* This program's path, in UNINSTALL_PATH_SIZE bytes; 0 when it does not fit. */
static int OwnProgramPath(char *path)
{
    DWORD length = GetModuleFileNameA(0, path, UNINSTALL_PATH_SIZE);
    return length > 0 && length < UNINSTALL_PATH_SIZE;
}

int GoesLast(const char *path)
{
    char script[UNINSTALL_PATH_SIZE], self[UNINSTALL_PATH_SIZE];
    InstalledScriptPath(script, sizeof script);
    return SamePlace(path, script) || (OwnProgramPath(self) && SamePlace(path, self));
}

/* Deleted now, or at the next start when it is in use; 0, noted, when neither. */
int RemoveFile(const char *path)
{
    DWORD attributes;
    if (!ToldAttributes(path, &attributes))
        return 0;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;   /* gone already, or not a file setup wrote */
    DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
    if (writable != attributes &&
        !SetFileAttributesA(path, writable ? writable : FILE_ATTRIBUTE_NORMAL))
        return NoteFailure(IDS_CANNOTDELETE, path);
    if (DeleteFileA(path))
        return 1;
    DWORD error = GetLastError();
    if (!ToldAttributes(path, &attributes))
        return 0;
    if (attributes == INVALID_FILE_ATTRIBUTES || (IsInUseError(error) && ScheduleDeleteAtRestart(path)))
        return 1;
    SetLastError(error);
    return NoteFailure(IDS_CANNOTDELETE, path);
}

/* kept renamed to target at the next start, after target's deletion there. One kept
   on another drive is copied beside target first: WININIT.EXE renames within a drive
   only. */
static int PutBackAtRestart(const char *target, const char *kept)
{
    if (OnOneDrive(target, kept))
        return ScheduleRenameAtRestart(target, kept);
    char dir[UNINSTALL_PATH_SIZE], copy[MAX_PATH];
    if (!DirectoryOf(target, dir, sizeof dir) || !GetTempFileNameA(dir, "KX", 0, copy))
        return 0;
    if (!CopyFileA(kept, copy, FALSE) || !ScheduleRenameAtRestart(target, copy)) {
        DWORD error = GetLastError();
        DeleteFileA(copy);   /* should it stay, it costs room only */
        SetLastError(error);
        return 0;
    }
    DeleteFileA(kept);   /* copied: should it stay, it costs room only */
    return 1;
}

/* The package's file at target goes, and the older file setup kept in its place comes
   back; while the package's file is in use, at the next start. A record of a file
   kept that is not there names a file setup never replaced: the one at target is
   then not the package's, and stays. */
int PutOlderFileBack(const char *target, const char *kept)
{
    DWORD keptThere, targetThere;
    if (!ToldAttributes(kept, &keptThere))
        return 0;
    if (keptThere == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (!RemoveFile(target) || !ToldAttributes(target, &targetThere))
        return 0;
    int back = targetThere == INVALID_FILE_ATTRIBUTES
                   ? MoveFileA(kept, target)
                   : PutBackAtRestart(target, kept);   /* after its NUL= line */
    return back || NoteFailureOfTwo(IDS_CANNOTPUTBACK, kept, target);
}

static void CountEntry(const char *, int, void *count)
{
    (*(int *)count)++;
}

/* A directory setup made goes when it is empty; one that holds what is not the
   package's stays (*left 1 when left is given), one that is empty and stays, or that
   cannot be looked into, is noted. */
int RemoveEmptyDirectory(const char *dir, int *left)
{
    DWORD attributes;
    int entries = 0;
    if (left)
        *left = 0;
    if (RemoveDirectoryA(dir))
        return 1;
    if (!ToldAttributes(dir, &attributes))
        return 0;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (!ForEachEntry(dir, "*", CountEntry, &entries) || !entries)
        return NoteFailure(IDS_CANNOTREMOVEDIR, dir);
    if (left)
        *left = 1;
    return 1;
}

int RemoveInstalledScript(void)
{
    char script[UNINSTALL_PATH_SIZE];
    InstalledScriptPath(script, sizeof script);
    return RemoveFile(script);
}

int RemoveOwnProgram(void)
{
    char self[UNINSTALL_PATH_SIZE];
    if (!OwnProgramPath(self) || !ScheduleDeleteAtRestart(self))
        return NoteFailure(IDS_CANNOTDELETE, self);
    /* InstallDir itself stays: it holds this program until the next start, and
       WININIT.INI deletes files only */
    return 1;
}
