/* Expanding a file so that its target is either whole or as it was before. */
#ifndef WHOLE_FILE_H
#define WHOLE_FILE_H

#include <windows.h>
#include "../shared/placed_file.h"
#include "../shared/file_table.h"

/* Expands the open LZ source, which declares itself expected bytes long, into target
   (a path in its one form): first into a temporary file in the target's directory,
   which takes the target's place only once it is complete. An old target is kept
   under a temporary name until the new file is in place; one that is in use is
   replaced at the next start of Windows. What WININIT.INI would still do to target at
   the next start (delete it, replace it) is taken out first. With keep, the old target
   is moved there, not deleted (or copied there when it is in use and replaced at the
   next start). 1 when the file is in place (or will be at the next start); 0 with
   what failed noted (failure_note.h): the old target is then as it was, or, when it
   could not be put back, kept at keep or a temporary name that the note names, and no
   temporary file stays behind. What was expanded must match check, when there is one
   (the script's checksum): else it is a damaged file, and nothing is put in place.
   *stamp receives what the log keeps of the new file: its size, the last-write time it
   was given (or has, when none could be set) and the CRC-32 of what was written. */
int ExpandWhole(INT source, LONG expected, const FileCheck *check, const char *target,
                const char *keep, PlacedStamp *stamp);

/* Expands the open LZ source into target, which is not there, straight into its
   place (what WININIT.INI would still do to target at the next start taken out
   first). The log names target as being written before this is called: a failure
   deletes what was written, and a power cut leaves at most a partial file the log
   names. 1, or 0 with what failed noted. check and *stamp as for ExpandWhole. */
int ExpandNew(INT source, LONG expected, const FileCheck *check, const char *target,
              PlacedStamp *stamp);

/* MakeDirectory, with a directory that is not there written in the install log first,
   so that the way back removes it; 0 also when the log cannot be written (noted). */
int MakeLoggedDirectory(const char *dir, int *made);

/* The size an open LZ source declares (its expanded size; a plain file's own size),
   with the source read from its start again; -1 when it cannot be told. */
LONG DeclaredSize(INT source);

/* WININIT.INI could not be read or written: noted, naming it; 0. */
int NoteScheduleFailure(void);

#endif
