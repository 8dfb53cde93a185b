/* Deletes the files the script lists, where setup put them, and the script's
   subdirectories when they are left empty; files the user added stay. Files outside
   this directory are left alone while another installation of the package is
   registered. A read-only file is made writable and deleted; only a file in use, and
   this program itself, are deleted at the next start of Windows. */
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

#define PATH_SIZE (MAX_PATH + 16)


static int OwnProgramPath(char *path)
{
    DWORD length = GetModuleFileNameA(0, path, PATH_SIZE);
    return length > 0 && length < PATH_SIZE;
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

/* Names that could stand for more than one file are not taken. */
static int IsPlainName(const char *name)
{
    if (!name[0])
        return 0;
    for (; *name; name++)
        if (*name == '*' || *name == '?')
            return 0;
    return 1;
}

/* kept renamed to target at the next start, after target's deletion there. One kept
   on another drive is copied beside target first: WININIT.EXE renames within a drive
   only. */
static int PutBackAtRestart(const char *target, const char *kept)
{
    if (OnOneDrive(target, kept))
        return ScheduleRenameAtRestart(target, kept);
    char dir[PATH_SIZE], copy[MAX_PATH];
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

/* A file in the destination is the package's. One outside it is the package's only
   when the record notes that setup put it there: an entry the copy never reached (it
   was cancelled, or failed) may name another program's file of the same name. */
static int RemoveListedFile(const FileEntry *entry, const char *target)
{
    char kept[RECORD_VALUE_SIZE];
    int recorded;
    if (!entry->TargetIsAbsolute)
        return RemoveFile(target);
    if (!ReadRecord(REPLACED_RECORD, target, kept, &recorded))
        return 0;
    if (!recorded)
        return 1;
    return kept[0] ? PutOlderFileBack(target, kept) : RemoveFile(target);
}

static int RemoveListedFiles(void)
{
    char script[PATH_SIZE], self[PATH_SIZE];
    InstalledScriptPath(script, sizeof script);
    int selfKnown = OwnProgramPath(self), done = 1;
    FileEntry *end = SetupState.DiskFirstEntry[SetupState.DiskCount];
    for (FileEntry *entry = SetupState.DiskFirstEntry[0]; entry && entry < end; entry++) {
        if (!IsPlainName(entry->TargetName) ||
            (entry->TargetIsAbsolute && !UninstallState.OwnsSharedState))
            continue;
        char composed[PATH_SIZE], target[PATH_SIZE];
        ComposeTargetPath(composed, sizeof composed, SetupState.InstallDir, entry);
        if (!CanonicalPath(composed, target, PATH_SIZE) || SamePlace(target, script) ||
            (selfKnown && SamePlace(target, self)))
            continue;   /* the script and this program go last; a path that does not
                           fit names no file setup could make */
        done = RemoveListedFile(entry, target) && done;
    }
    return done;
}

static void CountEntry(const char *, int, void *count)
{
    (*(int *)count)++;
}

/* Removes a directory that setup made; one that still holds files (the user's, or
   older files not yet back) stays, as it should, but an empty one that stays is noted,
   and so is one that cannot be looked into. */
static int RemoveEmptyDirectory(const char *dir)
{
    DWORD attributes;
    if (RemoveDirectoryA(dir))
        return 1;
    if (!ToldAttributes(dir, &attributes))
        return 0;
    int entries = 0;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (!ForEachEntry(dir, "*", CountEntry, &entries) || !entries)
        return NoteFailure(IDS_CANNOTREMOVEDIR, dir);
    return 1;
}

/* For the entries of a directory: each removed as its kind wants, the outcome kept. */
static void RemoveEachDirectory(const char *path, int isDir, void *done)
{
    if (isDir && !RemoveEmptyDirectory(path))
        *(int *)done = 0;
}

/* Setup's own temporary files (KXnnnn.TMP) that a copy which failed could not take
   away; in the destination's directories nobody else makes them. */
static void RemoveTemporaryFile(const char *path, int isDir, void *done)
{
    if (!isDir && !RemoveFile(path))
        *(int *)done = 0;
}

/* Every entry of dir that matches pattern, removed by each; 1, or 0 noted. */
static int RemoveEntries(const char *dir, const char *pattern,
                         void (*each)(const char *, int, void *))
{
    int done = 1;
    if (!ForEachEntry(dir, pattern, each, &done))
        return NoteFailure(IDS_CANNOTREAD, dir);
    return done;
}

/* A directory of the destination: setup's temporary files, then the directory itself
   when it is left empty and is not the destination. */
static int ClearDirectory(const char *dir)
{
    int done = RemoveEntries(dir, SETUP_TEMPORARIES, RemoveTemporaryFile);
    return (SamePlace(dir, SetupState.InstallDir) || RemoveEmptyDirectory(dir)) && done;
}

int ClearLoggedDirectory(const char *dir, int *left)
{
    DWORD attributes;
    int entries = 0;
    *left = 0;
    if (!ToldAttributes(dir, &attributes))
        return 0;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (RemoveDirectoryA(dir))
        return 1;
    if (!ForEachEntry(dir, "*", CountEntry, &entries) || !entries)
        return NoteFailure(IDS_CANNOTREMOVEDIR, dir);
    *left = 1;   /* it holds what is not the package's */
    return 1;
}

/* The folders that kept older files, REPLACED and those in it, once the files are back. */
static int RemoveKeptFolders(void)
{
    char replaced[PATH_SIZE];
    DWORD attributes;
    JoinPath(replaced, sizeof replaced, SetupState.InstallDir, "REPLACED");
    if (!RemoveEntries(replaced, "*", RemoveEachDirectory) || !ToldAttributes(replaced, &attributes))
        return 0;
    return attributes == INVALID_FILE_ATTRIBUTES || RemoveEmptyDirectory(replaced);
}

/* A script's directory below this one, deepest level first ("DRIVERS\WIN95", then
   DRIVERS), each while it is left empty. A value that is no relative directory names
   none setup made. */
static int RemoveSubDirectory(const char *sub)
{
    char level[sizeof(FileEntry::TargetDir)], dir[PATH_SIZE];
    CopyText(level, sizeof level, sub);   /* the name, cut as setup made it */
    if (!IsRelativeDir(level))
        return 1;
    for (int deepest = 1; level[0]; deepest = 0) {
        DWORD attributes;
        JoinPath(dir, sizeof dir, SetupState.InstallDir, level);
        if (!ToldAttributes(dir, &attributes))
            return 0;
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            !(deepest ? ClearDirectory(dir) : RemoveEmptyDirectory(dir)))
            return 0;
        DirectoryOf(level, level, sizeof level);
    }
    return 1;
}

/* SubDir6 to SubDir1, then RootDir (the destination itself, or a directory of its own). */
static int RemoveSubDirectories(void)
{
    int done = 1;
    for (int slot = SLOT_SUBDIR1 + 5; slot >= SLOT_ROOTDIR; slot--)
        if (SetupState.DirectorySlots[slot][0])
            done = RemoveSubDirectory(SetupState.DirectorySlots[slot]) && done;
    return done;
}

int RemoveInstalledFiles(void)
{
    if (UninstallState.HasLog) {
        char script[PATH_SIZE], self[PATH_SIZE];
        InstalledScriptPath(script, sizeof script);
        return UndoLoggedFiles(script, OwnProgramPath(self) ? self : 0);   /* REPLACED too:
                                                                          its DIR records */
    }
    int files = RemoveListedFiles();
    int kept = RemoveKeptFolders();
    return RemoveSubDirectories() && files && kept;
}

int RemoveInstalledScript(void)
{
    char script[PATH_SIZE];
    InstalledScriptPath(script, sizeof script);
    return RemoveFile(script);
}

int RemoveOwnProgram(void)
{
    char self[PATH_SIZE];
    if (!OwnProgramPath(self) || !ScheduleDeleteAtRestart(self))
        return NoteFailure(IDS_CANNOTDELETE, self);
    /* InstallDir itself stays: it holds this program until the next start, and
       WININIT.INI deletes files only */
    return 1;
}
