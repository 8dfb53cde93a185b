#include <windows.h>
#include "destination.h"
#include "../shared/setup_state.h"
#include "../shared/file_paths.h"
#include "../../resources/resource.h"

int IsExistingDirectory(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

/* Free space against MinimumSpace, in 64 bits so that a drive reporting more than
   4 GiB free does not wrap. 1 enough, 0 too little, -1 when the drive gives no figure. */
static int CheckFreeSpace(const char *root)
{
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return -1;
    unsigned long long freeKilobytes =
        ((unsigned long long)sectorsPerCluster * bytesPerSector * freeClusters) >> 10;
    /* MinimumSpace keeps its sign when widened: a negative value asks for ~4 TB. */
    unsigned long long required = (DWORD)(LONG)SetupState.MinimumSpace;
    return freeKilobytes >= required;
}

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

unsigned int DestinationFormFault(const char *dir, int length)
{
    /* nothing past an empty text is read; a text longer than the characters kept
       would install into a directory the user did not name */
    if (!dir[0] || dir[1] != ':' || dir[2] != '\\' || length > DESTINATION_LENGTH ||
        !PathsFitBelow(dir))
        return IDS_CANNOTCREATE;
    return 0;
}

static char UpperLetter(char c)
{
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

unsigned int PrepareDestination(const char *dir, int existed)
{
    char root[4] = { UpperLetter(dir[0]), ':', '\\', 0 };
    int space = CheckFreeSpace(root);
    if (space < 0)
        return IDS_CANNOTCREATE;
    if (!space)
        return IDS_NOSPACE;
    if (!existed && !CreateDirectoryA(dir, 0))
        return IDS_CANNOTCREATE;
    return 0;
}
