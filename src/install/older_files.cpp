/* A file of the package may meet an older file of the same name that belongs to
   another program: in the Windows directories, or in a destination that already held
   files. It is kept, not deleted: moved below the destination, with the record noting
   where, so that the uninstaller puts it back. A target that was not there is
   recorded as an empty text, so that an installation into the same destination later
   does not take the package's own file for another program's; an older file already
   kept stays the one kept. The package's own files are not kept: those an earlier run
   of this installation put there (its log says so), those an uninstall not yet
   followed by a restart deletes at the next start, and the installation's script and
   uninstaller. */
#include <windows.h>
#include "older_files.h"
#include "whole_file.h"
#include "change_log.h"
#include "../shared/wininit.h"
#include "../shared/setup_state.h"
#include "../shared/prior_values.h"
#include "../shared/bounded_text.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"
#include "../shared/path_text.h"
#include "../shared/path_names.h"

/* REPLACED\ and the directory's name below the destination, in keep. */
static int KeepDirectory(const FileEntry *e, char *keep)
{
    /* 79, 9 and 40 at most: MAX_PATH holds them */
    JoinPath(keep, MAX_PATH, SetupState.InstallDir, "REPLACED");
    if (!MakeLoggedDirectory(keep, 0))
        return 0;
    char below[MAX_PATH];   /* the destination's own files ("."): REPLACED itself */
    JoinPath(below, sizeof below, keep, LastPartOf(e->TargetDir));
    return CanonicalPath(below, keep, MAX_PATH) && MakeLoggedDirectory(keep, 0);
}

/* SETUP.INF and UNINSTAL.EXE in the destination: the installation's own. The names
   are looked at first: the place is asked of the system only for these two. */
static int IsInstallationsOwn(const FileEntry *e, const char *target)
{
    char own[MAX_PATH];
    if (e->TargetIsAbsolute)
        return 0;
    if (SameTextNoCase(e->TargetName, "SETUP.INF")) {
        InstalledScriptPath(own, sizeof own);
        return SamePlace(target, own);
    }
    JoinPath(own, sizeof own, SetupState.InstallDir, "UNINSTAL.EXE");   /* 79 and 12 */
    return SameTextNoCase(e->TargetName, "UNINSTAL.EXE") && SamePlace(target, own);
}

/* That nothing of another program's was at target: for a file outside the destination,
   noted in the record (a later installation then knows the file there as the
   package's); inside it, the log's record of the file says so. */
static int RecordNothingThere(const FileEntry *e, const char *target)
{
    return !e->TargetIsAbsolute || RecordPriorValue(REPLACED_RECORD, target, "") ||
           NoteRecordFailure(IDS_CANNOTRECORD);
}

/* 1 with *own 1 when the file at target is the package's own (see above); 0, noted,
   when WININIT.INI cannot be read. */
static int IsPackagesOwn(const char *target, int *own)
{
    int pending, logged;
    if (!IsPendingAtRestart(target, &pending))
        return NoteScheduleFailure();
    if (!LoggedBefore(target, &logged))
        return 0;
    *own = pending || logged;
    return 1;
}

int PlaceToKeepOlderFile(const FileEntry *e, const char *target, char *keep, int *there)
{
    char recorded[RECORD_VALUE_SIZE];
    keep[0] = 0;
    if (!IsPathThere(target, there))
        return 0;
    int targetThere = *there, keptThere = 0, own = 0, noted;
    if (IsInstallationsOwn(e, target))
        return 1;
    if (!targetThere && !e->TargetIsAbsolute)
        return 1;   /* nothing to keep; the log notes that nothing was there */
    if (!ReadRecordedValue(REPLACED_RECORD, target, recorded, &noted))
        return NoteRecordFailure(IDS_CANNOTRECORD);
    if ((noted && recorded[0] && !IsPathThere(recorded, &keptThere)) ||
        (!noted && targetThere && !IsPackagesOwn(target, &own)))
        return 0;
    if (own)
        return RecordNothingThere(e, target);
    if (noted && (!recorded[0] || keptThere || !targetThere))
        return 1;   /* nothing was there before, or it is kept already */
    if (!noted && !targetThere)
        return RecordNothingThere(e, target);
    if (!KeepDirectory(e, keep))
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    JoinPath(keep, MAX_PATH, keep, e->TargetName);
    if (noted) {   /* noted by a try that failed before it moved the file */
        CopyText(keep, MAX_PATH, recorded);
        return 1;
    }
    return RecordPriorValue(REPLACED_RECORD, target, keep) || NoteRecordFailure(IDS_CANNOTRECORD);
}
