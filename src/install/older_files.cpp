/* A file of the package that goes to the Windows directories may meet an older file
   of the same name that belongs to another program. It is kept, not deleted: moved
   below the destination, with the record noting where, so that the uninstaller puts
   it back. A target that was not there is recorded as an empty text, so that an
   installation into the same destination later does not take the package's own file
   for another program's; an older file already kept stays the one kept. */
#include <windows.h>
#include "older_files.h"
#include "whole_file.h"
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
    if (!MakeDirectory(keep, 0))
        return 0;
    JoinPath(keep, MAX_PATH, keep, LastPartOf(e->TargetDir));
    return MakeDirectory(keep, 0);
}

int PlaceToKeepOlderFile(const FileEntry *e, const char *target, char *keep)
{
    char recorded[RECORD_VALUE_SIZE];
    keep[0] = 0;
    if (!e->TargetIsAbsolute)
        return 1;
    int noted;
    if (!ReadRecordedValue(REPLACED_RECORD, target, recorded, &noted))
        return NoteRecordFailure(IDS_CANNOTRECORD);
    int targetThere, keptThere = 0;
    if (!IsPathThere(target, &targetThere) || (noted && recorded[0] && !IsPathThere(recorded, &keptThere)))
        return 0;
    if (noted && (!recorded[0] || keptThere || !targetThere))
        return 1;   /* nothing was there before, or it is kept already */
    if (!noted && !targetThere)
        return RecordPriorValue(REPLACED_RECORD, target, "") || NoteRecordFailure(IDS_CANNOTRECORD);
    if (!KeepDirectory(e, keep))
        return NoteFailure(IDS_CANNOTCREATEFILE, target);
    JoinPath(keep, MAX_PATH, keep, e->TargetName);
    if (noted) {   /* noted by a try that failed before it moved the file */
        CopyText(keep, MAX_PATH, recorded);
        return 1;
    }
    return RecordPriorValue(REPLACED_RECORD, target, keep) || NoteRecordFailure(IDS_CANNOTRECORD);
}
