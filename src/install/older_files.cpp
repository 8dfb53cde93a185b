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

/* The last part of a directory's path: "SYSTEM" of "C:\WINDOWS\SYSTEM". */
static const char *LastPart(const char *dir)
{
    const char *name = dir;
    for (const char *p = dir; *p; p++)
        if (*p == '\\' && p[1])
            name = p + 1;
    return name;
}

/* REPLACED\ and the directory's name below the destination, in keep. */
static int KeepDirectory(const FileEntry *e, char *keep)
{
    CopyText(keep, MAX_PATH, SetupState.InstallDir);
    AppendText(keep, MAX_PATH, "\\REPLACED");
    if (!MakeDirectory(keep))
        return 0;
    AppendText(keep, MAX_PATH, "\\");
    AppendText(keep, MAX_PATH, LastPart(e->TargetDir));
    return MakeDirectory(keep);
}

static int Exists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int PlaceToKeepOlderFile(const FileEntry *e, const char *target, char *keep)
{
    char recorded[RECORD_VALUE_SIZE];
    keep[0] = 0;
    if (!e->TargetIsAbsolute)
        return COPY_DONE;
    int noted = ReadRecordedValue(REPLACED_RECORD, target, recorded);
    if (noted < 0)
        return COPY_CANNOT_RECORD;
    if (noted && (!recorded[0] || Exists(recorded) || !Exists(target)))
        return COPY_DONE;   /* nothing was there before, or it is kept already */
    if (!noted && !Exists(target))
        return RecordPriorValue(REPLACED_RECORD, target, "") ? COPY_DONE : COPY_CANNOT_RECORD;
    if (!KeepDirectory(e, keep))
        return COPY_CANNOT_CREATE;
    AppendText(keep, MAX_PATH, "\\");
    AppendText(keep, MAX_PATH, e->TargetName);
    if (noted) {   /* noted by a try that failed before it moved the file */
        CopyText(keep, MAX_PATH, recorded);
        return COPY_DONE;
    }
    return RecordPriorValue(REPLACED_RECORD, target, keep) ? COPY_DONE : COPY_CANNOT_RECORD;
}
