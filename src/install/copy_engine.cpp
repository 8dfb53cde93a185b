/* Each file is expanded whole into place; one that cannot be is asked about: Retry
   copies it again from the start, Cancel ends the copy as the Cancel button does. A
   source that cannot be opened asks for the disk it is on, by its label. */
#include <windows.h>
#include <lzexpand.h>
#include "copy_engine.h"
#include "run_observer.h"
#include "whole_file.h"
#include "older_files.h"
#include "registration.h"
#include "change_log.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/file_paths.h"
#include "../shared/path_text.h"
#include "../shared/path_names.h"
#include "../shared/wininit.h"
#include "../shared/prior_values.h"
#include "../shared/failure_note.h"
#include "../shared/script_rules.h"
#include "../../resources/resource.h"

#define PATH_SIZE 256

static int Cancelled;   /* the user pressed Cancel, or answered Cancel to a question */

/* The label of disk (0 for Disk1): the disk-th label that [DiskLabel] holds, counted
   in key order, as the disks themselves are counted by their labels. */
static void DiskLabelOf(int disk, char *label, int size)
{
    int seen = 0;
    CopyText(label, size, "");
    for (int k = 0; k < MAX_DISKS; k++) {
        if (!SetupState.DiskLabels[k][0])
            continue;
        if (seen++ == disk) {
            CopyText(label, size, SetupState.DiskLabels[k]);
            return;
        }
    }
}

/* Polls the observer; 1 once Cancel was pressed. */
static int CancelSeen(void)
{
    if (CancelPressed())
        Cancelled = 1;
    return Cancelled;
}

/* The question about the failure noted: 1 for Retry; Cancel ends the copy. Either way
   the run has no failure any more: a Cancel is the user's, not a failure. */
static int RetryAfterFailure(void)
{
    char question[FAILURE_MESSAGE_SIZE];
    FailureMessage(question);
    int retry = AskRetry(question);
    ForgetFailures();
    if (!retry)
        Cancelled = 1;
    return retry;
}

/* The source opened for reading, and the size it declares; 0, noted, when it cannot
   be opened (the disk it is on is asked for) or its size cannot be told (a damaged
   source, named by the target it was to become). */
static int OpenSource(const char *path, const char *target, int disk, INT *source, LONG *size)
{
    OFSTRUCT of;
    *source = LZOpenFileA((LPSTR)path, &of, OF_READ);
    *size = *source >= 0 ? DeclaredSize(*source) : -1;
    if (*size >= 0)
        return 1;
    char label[40];
    DiskLabelOf(disk, label, sizeof label);
    if (*source < 0)
        return NoteFailureOfTwo(IDS_INSERTDISK, label, path);
    SetLastError(ERROR_INVALID_DATA);
    return NoteFailure(IDS_DAMAGEDSOURCE, target);
}

static int IsInstalledScript(const FileEntry *e, const char *target)
{
    char script[RECORD_PATH_SIZE];
    InstalledScriptPath(script, sizeof script);
    return !e->TargetIsAbsolute && SameTextNoCase(e->TargetName, "SETUP.INF") &&
           SamePlace(target, script);
}

/* The open source expanded into target, with what the target replaces taken care of:
   an older file outside the destination is kept, and the record in the installed
   script is carried over into its fresh copy. A target that is not there is expanded
   straight into its place; the log names it before. */
static int CopyToTarget(const FileEntry *e, INT source, LONG size, const char *target)
{
    char keep[MAX_PATH];
    int script = IsInstalledScript(e, target), existed;
    if (!PlaceToKeepOlderFile(e, target, keep, &existed) || !LogFilePlacing(target, existed, keep))
        return 0;
    if (script && !HoldRecord())
        return NoteRecordFailure(IDS_CANNOTRECORD);
    PlacedStamp placed;
    const FileCheck *check = FileCheckOf(e);
    if (existed ? !ExpandWhole(source, size, check, target, keep[0] ? keep : 0, &placed)
                : !ExpandNew(source, size, check, target, &placed))
        return 0;
    if (script && !PutRecordBack())
        return NoteRecordFailure(IDS_CANNOTRECORD);
    TellChange(CHANGE_FILE, target);
    return LogFilePlaced(target, &placed);
}

/* The entry's source and target, in their one form. */
static void EntryPaths(const FileEntry *e, char *source, char *target)
{
    char composed[PATH_SIZE];
    ComposeSourcePath(composed, PATH_SIZE, SetupState.SetupDir, e);
    if (!CanonicalPath(composed, source, PATH_SIZE))
        CopyText(source, PATH_SIZE, composed);   /* names no file: its open fails */
    ComposeTargetPath(composed, PATH_SIZE, SetupState.InstallDir, e);
    if (!CanonicalPath(composed, target, PATH_SIZE))
        CopyText(target, PATH_SIZE, composed);
}

/* One entry of the file table, again from its source for as long as the user asks
   for Retry. An entry the loader left empty names no file and is passed over. A Cancel
   pressed meanwhile lets the entry under way be completed. */
static void CopyEntry(int disk, int entry)
{
    const FileEntry *e = SetupState.DiskFirstEntry[disk] + entry;
    char source[PATH_SIZE], target[PATH_SIZE];
    EntryPaths(e, source, target);
    if (SameTextNoCase(e->SourceName, e->TargetName) && SamePlace(source, target))
        return;   /* its own source, on a medium inside its destination: the file is in
                     place, and stays the medium's (the script gets the record); a copy
                     onto itself would wait for the next start, as a file in use. The
                     names first: only a file stored under its own name can be one */
    for (;;) {
        TellFileBegins(e);
        INT handle;
        LONG size;
        int opened = OpenSource(source, target, disk, &handle, &size);
        CancelSeen();
        TellProgress(entry, SetupState.DiskFileCount[disk]);
        int copied = opened && CopyToTarget(e, handle, size, target);
        if (handle >= 0)
            LZClose(handle);
        CancelSeen();
        if (copied)
            return;
        if (!e->SourceName[0] || Cancelled) {   /* an empty entry names no file: nothing
                                                   to ask; after a Cancel nothing is */
            ForgetFailures();
            return;
        }
        if (!RetryAfterFailure())
            return;
    }
}

/* 1 when the destination holds what the uninstall entry runs and the script it reads:
   after a Cancel without them nothing is registered, and setup can simply run again;
   0 also when that cannot be told (noted). */
static int CanBeRemoved(void)
{
    if (!Cancelled)
        return 1;
    char script[RECORD_PATH_SIZE], uninstaller[RECORD_PATH_SIZE];
    int scriptThere, uninstallerThere;
    InstalledScriptPath(script, sizeof script);
    JoinPath(uninstaller, sizeof uninstaller, SetupState.InstallDir, "UNINSTAL.EXE");
    return IsPathThere(script, &scriptThere) && scriptThere &&
           IsPathThere(uninstaller, &uninstallerThere) && uninstallerThere;
}

/* sub below the destination, level by level ("DRIVERS\WIN95": DRIVERS first), each
   one made told; the whole in dir (MAX_PATH bytes). 0, noted, naming the level that
   cannot be made. A value that is no relative directory (a drive, a root, "..") would
   lead out of the destination: it is one setup cannot make. */
static int MakeSubDirectory(const char *sub, char *dir)
{
    char level[sizeof(FileEntry::TargetDir)];
    JoinPath(dir, MAX_PATH, SetupState.InstallDir, sub);
    if (!IsRelativeDir(sub)) {
        SetLastError(ERROR_BAD_PATHNAME);
        return NoteFailure(IDS_CANNOTMAKEDIR, dir);
    }
    for (int i = 0; i == 0 || sub[i - 1]; i++) {
        if (sub[i] != '\\' && sub[i])
            continue;
        CopyText(level, i + 1 < (int)sizeof level ? i + 1 : (int)sizeof level, sub);
        JoinPath(dir, MAX_PATH, SetupState.InstallDir, level);   /* 79 and 39 at most */
        int made = 0;
        if (!MakeLoggedDirectory(dir, &made))
            return FailureCount() ? 0 : NoteFailure(IDS_CANNOTMAKEDIR, dir);
        if (made)
            TellChange(CHANGE_DIR, dir);
    }
    return 1;
}

/* The script's subdirectories below the destination, each asked about until it is
   there or the user cancels; 0 after a Cancel. The temporary files an earlier copy
   named in its log and left go first. */
static int PrepareDirectories(void)
{
    DeleteLoggedTemporaries();
    for (int slot = SLOT_SUBDIR1; slot < SLOT_SUBDIR1 + 6; slot++) {
        if (!SetupState.DirectorySlots[slot][0])
            continue;
        char kept[sizeof(FileEntry::TargetDir)];   /* the name, cut as the files have it */
        CopyText(kept, sizeof kept, SetupState.DirectorySlots[slot]);
        char dir[MAX_PATH];
        while (!MakeSubDirectory(kept, dir))
            if (!RetryAfterFailure())
                return 0;
    }
    return 1;
}

static void CopyAllFiles(void)
{
    for (int d = 0; d < SetupState.DiskCount && !Cancelled; d++) {
        char phase[16];
        wsprintfA(phase, "DISK %d", d + 1);
        while (!LogPhase(phase))
            if (!RetryAfterFailure())
                return;
        TellDiskBegins(d);
        for (int i = 0; i < SetupState.DiskFileCount[d] && !Cancelled; i++)
            CopyEntry(d, i);
    }
}

/* The copy and the registration, with the log of what they change; the log stays
   open for the system.ini patch after a copy that went to its end. */
static int CopyAndRegister(void)
{
    if (!BeginChangeLog() || !LogPhase("DIRECTORIES") || !PrepareDirectories())
        return 0;
    CopyAllFiles();
    /* reached after the last file and after a Cancel alike */
    if (!CanBeRemoved())
        return 0;
    TellRegistering();
    return LogPhase("REGISTRATION") && RegisterMouseDevice(1) && !Cancelled;
}

int CopyPackage(void)
{
    Cancelled = 0;
    RememberWininit(1);
    RememberRecord(1);
    int done = CopyAndRegister();
    RememberRecord(0);
    RememberWininit(0);
    if (!done)
        EndChangeLog();   /* what it could not flush is noted after the first failure */
    return done;
}
