#include <windows.h>
#include "install_dir.h"
#include "setup_state.h"
#include "file_paths.h"
#include "path_names.h"
#include "bounded_text.h"
#include "failure_note.h"
#include "../../resources/shared_strings.h"

/* 1 when every file of the package can be copied below dir: the copy opens each
   target through the LZ expansion service, which cannot hold a longer path. */
static int PathsFitBelow(const char *dir)
{
    FileEntry *end = SetupState.DiskFirstEntry[SetupState.DiskCount];
    for (FileEntry *e = SetupState.DiskFirstEntry[0]; e && e < end; e++)
        if (LongestCopyPath(dir, e) > LZ_PATH_LIMIT)
            return 0;
    return 1;
}

int TakeDestination(const char *text, int length, int filesBelow)
{
    char place[sizeof SetupState.InstallDir];
    CopyText(SetupState.InstallDir, sizeof SetupState.InstallDir, text);
    /* nothing past an empty text is read; a text longer than the characters kept
       would install into a directory the user did not name */
    if (!text[0] || text[1] != ':' || text[2] != '\\' || length > DESTINATION_LENGTH ||
        !CanonicalPath(text, place, sizeof place) || TextLength(place) > DESTINATION_LENGTH ||
        (filesBelow && !PathsFitBelow(place))) {
        SetLastError(ERROR_BAD_PATHNAME);
        return NoteFailure(IDS_CANNOTCREATE, SetupState.InstallDir);
    }
    CopyText(SetupState.InstallDir, sizeof SetupState.InstallDir, place);
    return 1;
}

int TakeCopyDestination(const char *text, int length)
{
    return TakeDestination(text, length, 1);
}
