/* Records of the file list that the setup script describes. */
#ifndef FILE_TABLE_H
#define FILE_TABLE_H

/* One file to install: where it comes from, where it goes, what the copy page shows. */
struct FileEntry {
    char SourceDir[40];      /* directory below the setup program's own */
    char TargetDir[40];      /* below InstallDir, or a full path when TargetIsAbsolute */
    char SourceName[15];
    char TargetName[15];
    char Description[62];
    int TargetIsAbsolute;
};

/* What the medium's script says an entry's file expands to ([Checksums], keyed by the
   source name): its size and the CRC-32 of its contents (crc32.h). */
struct FileCheck {
    unsigned long Size;
    unsigned long Crc;
    int Known;   /* 0: the script names no checksum for the entry */
};

/* One [PM Info] line; loaded and kept, nothing uses it. */
struct GroupItem {
    char Name[15];
    char Title[40];
    char Flags[5];
};

#define FILE_ENTRY_SIZE 176
#define GROUP_ITEM_SIZE 60
#define GROUP_ITEM_COUNT 10
#define MAX_DISKS 6
#define DIRECTORY_SLOTS 10

static_assert(sizeof(FileEntry) == FILE_ENTRY_SIZE, "FileEntry must be 176 bytes");
static_assert(sizeof(GroupItem) == GROUP_ITEM_SIZE, "GroupItem must be 60 bytes");

/* Directory slots in script order; the file lines name them by keyword. */
enum DirectorySlot {
    SLOT_ROOTDIR = 0,
    SLOT_SUBDIR1 = 1,        /* SubDir1 to SubDir6 are slots 1 to 6 */
    SLOT_WINDIR = 7,
    SLOT_WINSYSTEMDIR = 8,
    SLOT_WININFDIR = 9
};

#endif
