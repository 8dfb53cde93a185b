/* Files laid out over floppy disks; see the header. */
#include "disk_plan.h"
#include "script_names.h"
#include <map>
#include <set>

namespace {

const long long DirectoryEntryBytes = 32;

std::string ParentOf(const std::string &path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

long long ClustersOf(long long bytes, const DiskFormat &format)
{
    return (bytes + format.clusterBytes - 1) / format.clusterBytes;
}

// Counts path as an entry of its parent directory, and each directory above it that
// is not counted yet as one of its own parent.
void CountEntry(const std::string &path, std::map<std::string, int> &entries,
                std::set<std::string> &directories)
{
    std::string parent = ParentOf(path);
    entries[parent]++;
    if (parent.empty() || !directories.insert(parent).second)
        return;
    CountEntry(parent, entries, directories);
}

}  // namespace

bool FitsOnDisk(const std::vector<MediumFile> &files, const DiskFormat &format)
{
    std::map<std::string, int> entries;   // by directory, "" the root
    std::set<std::string> paths, directories;
    long long clusters = 0;
    for (const MediumFile &f : files) {
        std::string path = Lower(f.path);
        if (!paths.insert(path).second)
            continue;
        clusters += ClustersOf(f.bytes, format);
        CountEntry(path, entries, directories);
    }
    for (const std::string &dir : directories)
        clusters += ClustersOf((2 + entries[dir]) * DirectoryEntryBytes, format);
    return clusters <= format.clusters && 1 + entries[""] <= format.rootEntries;
}

// 1 when ends closes the disk before item.
bool EndsBefore(const std::map<int, int> &ends, int disk, int item)
{
    auto end = ends.find(disk);
    return end != ends.end() && item >= end->second;
}

DiskPlan PlanDisks(const std::vector<MediumFile> &items, int firstCount,
                   const std::vector<MediumFile> &diskOneFiles, const std::map<int, int> &ends,
                   const DiskFormat &format, int maxDisks)
{
    DiskPlan plan = {PLAN_MADE, {}, 1, -1};
    std::vector<MediumFile> disk = diskOneFiles;
    bool holdsItems = false;
    for (int i = 0; i < (int)items.size(); i++) {
        disk.push_back(items[i]);
        bool ended = EndsBefore(ends, plan.disks - 1, i);
        if (!ended && FitsOnDisk(disk, format)) {
            plan.diskOf.push_back(plan.disks - 1);
            holdsItems = true;
            continue;
        }
        plan.failedItem = i;
        if (i < firstCount) {
            plan.result = PLAN_NOT_ON_DISK1;
            return plan;
        }
        if (ended && !holdsItems && plan.disks > 1) {
            plan.result = PLAN_ALONE_TOO_BIG;
            return plan;
        }
        disk.assign(1, items[i]);
        if (!FitsOnDisk(disk, format)) {
            plan.result = PLAN_LARGER_THAN_DISK;
            return plan;
        }
        if (++plan.disks > maxDisks) {
            plan.result = PLAN_PAST_LAST_DISK;
            return plan;
        }
        plan.diskOf.push_back(plan.disks - 1);
        holdsItems = true;
    }
    plan.failedItem = -1;
    return plan;
}
