#include <windows.h>
#include "destination.h"
#include "run_observer.h"
#include "../shared/setup_state.h"
#include "../shared/path_names.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"

int IsExistingDirectory(const char *path)
{
    /* one that cannot be told is taken as not there: making it then fails, and is told */
    DWORD attributes;
    return PathAttributes(path, &attributes) && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

/* Free space against MinimumSpace, in 64 bits so that a drive reporting more than
   4 GiB free does not wrap. 1 enough; 0, noted, too little or no figure from the
   drive (which the page answers as a directory it cannot make). */
static int HasFreeSpace(const char *dir)
{
    char root[4] = { dir[0], ':', '\\', 0 };
    if (root[0] >= 'a' && root[0] <= 'z')
        root[0] = (char)(root[0] - 'a' + 'A');
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return NoteFailure(IDS_CANNOTCREATE, dir);
    unsigned long long freeKilobytes =
        ((unsigned long long)sectorsPerCluster * bytesPerSector * freeClusters) >> 10;
    /* MinimumSpace keeps its sign when widened: a negative value asks for ~4 TB. */
    unsigned long long required = (DWORD)(LONG)SetupState.MinimumSpace;
    if (freeKilobytes >= required)
        return 1;
    SetLastError(ERROR_DISK_FULL);
    return NoteFailure(IDS_NOSPACE, dir);
}

int PrepareDestination(const char *dir, int existed)
{
    if (!HasFreeSpace(dir))
        return 0;
    if (existed)
        return 1;
    if (!CreateDirectoryA(dir, 0))
        return NoteFailure(IDS_CANNOTCREATE, dir);
    TellChange(CHANGE_DIR, dir);
    return 1;
}
