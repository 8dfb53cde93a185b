/* Files laid out over floppy disks as FAT12 stores them: each file in whole clusters,
   each subdirectory in clusters of 32-byte entries (its "." and ".." among them), the
   root directory a fixed number of entries, one of them the volume label. */
#ifndef DISK_PLAN_H
#define DISK_PLAN_H

#include <map>
#include <string>
#include <vector>

/* A disk format as mtools writes it. */
struct DiskFormat {
    long long kilobytes;
    long long clusterBytes;
    long long clusters;       // for files and subdirectories
    int rootEntries;          // the volume label's included
};

/* One file of the medium: its path with slashes, its size as stored. */
struct MediumFile {
    std::string path;
    long long bytes;
};

/* 1 when the files (a path given twice counts once) fit one disk of the format. */
bool FitsOnDisk(const std::vector<MediumFile> &files, const DiskFormat &format);

/* What a layout came to: each item's disk (from 0) and the number of disks; or the
   item that does not fit and why (PLAN_ALONE_TOO_BIG: an item alone on its disk that
   must still end before it). */
enum PlanResult { PLAN_MADE, PLAN_NOT_ON_DISK1, PLAN_LARGER_THAN_DISK, PLAN_PAST_LAST_DISK,
                  PLAN_ALONE_TOO_BIG };
struct DiskPlan {
    PlanResult result;
    std::vector<int> diskOf;
    int disks;
    int failedItem;
};

/* Fills disk after disk with the items in their order, as many as fit: disk 1 holds
   diskOneFiles first, and the first firstCount items must be on it. ends gives disks
   (from 0) that end before an item (by index) at the latest. */
DiskPlan PlanDisks(const std::vector<MediumFile> &items, int firstCount,
                   const std::vector<MediumFile> &diskOneFiles, const std::map<int, int> &ends,
                   const DiskFormat &format, int maxDisks);

#endif
