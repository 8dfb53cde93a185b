// Lays a package's files out over as many floppy disks as they need, and writes the
// setup script that lists them so (tools/make-medium.sh --span runs it):
//   span-disks --disk KB,CLUSTER_BYTES,CLUSTERS,ROOT_ENTRIES [--end DISK:ITEM]... SCRIPT MEDIUM LAYOUT
// SCRIPT is the package's SETUP.INF, loaded by SETUP.EXE's own loader rules; MEDIUM
// holds the medium's files as stored (SETUP.EXE and every file under its source name)
// and receives the written SETUP.INF, in CR LF lines; LAYOUT receives the disks:
//   disk<TAB>N<TAB>LABEL<TAB>VOLUME_LABEL<TAB>LAST_ITEM
//   dir<TAB>N<TAB>PATH     (parents first)
//   file<TAB>N<TAB>PATH    (each once a disk; disk 1's first SETUP.EXE and SETUP.INF)
// Paths with slashes, relative to MEDIUM; LAST_ITEM is the disk's last item. The items are the script's file lines in
// their order, the script and the uninstaller first; --end DISK:ITEM ends disk DISK
// before item ITEM at the latest (mtools found it full with that item). Exit codes: 0 written; 1 a file cannot
// be read or written, or the written script does not load as the package's does; 2 a
// file does not fit (named on the standard error).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "disk_plan.h"
#include "loader_dump.h"
#include "script_names.h"
#include "native_loader.h"
#include "profile_file.h"
#include "script_rewrite.h"
#include "shared/bounded_text.h"
#include "shared/script_field.h"
#include "shared/script_rules.h"
#include "shared/setup_state.h"
#include "resource.h"

namespace {

const int LabelLimit = sizeof SetupState.DiskLabels[0] - 1;
const size_t VolumeLabelLimit = 11;

// One file line the package's script loads.
struct Item {
    int disk, key;           // where the script lists it, both from 1
    std::string value;       // the line's value as written
    FileEntry loaded;
    MediumFile file;         // on the medium, as stored
};

std::string Script, Medium;
DiskFormat Format;
std::map<int, int> Ends;      // disks (from 0) ended before an item
std::vector<Item> Items;     // the script and the uninstaller first
int FirstCount;              // how many of them that is
std::string ScriptText;

std::string Where(const Item &item)
{
    return "[" + DiskSection(item.disk) + "] " + std::to_string(item.key);
}

std::string Named(const Item &item)
{
    return Where(item) + " (" + item.file.path + ", " + std::to_string(item.file.bytes) +
           " bytes as stored)";
}

bool ReadWhole(const std::string &path, std::string &text)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char chunk[4096];
    size_t got;
    text.clear();
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    return fclose(file) == 0;
}

bool WriteWhole(const std::string &path, const std::string &text)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && written;
}

long long StoredBytes(const std::string &path)
{
    struct stat st;
    return stat(JoinPath(Medium, path).c_str(), &st) ? -1 : (long long)st.st_size;
}

// 1 for a [Disk1] entry that installs target into the destination itself (RootDir).
bool IsRootFile(const Item &item, const char *target)
{
    char field[4][SCRIPT_FIELD_SIZE];
    char line[256];
    ReadScriptText(DiskSection(item.disk).c_str(), std::to_string(item.key).c_str(), "",
                   line, sizeof line);
    const char *rest = line;
    for (auto &f : field)
        rest = SplitScriptField(rest, f);
    return item.disk == 1 && FindDirectorySlot(field[3]) == SLOT_ROOTDIR &&
           SameTextNoCase(item.loaded.TargetName, target);
}

// The first of disk 1's entries that installs target into the destination itself.
int FirstRootFile(const std::vector<Item> &items, const char *target)
{
    for (size_t i = 0; i < items.size(); i++)
        if (IsRootFile(items[i], target))
            return (int)i;
    return -1;
}

// The script and the uninstaller to the front, in their order, so that a copy cancelled
// early still leaves a way to remove the package.
void PutFirstFilesFirst(std::vector<Item> &items)
{
    int script = FirstRootFile(items, "SETUP.INF");
    int uninstaller = FirstRootFile(items, "UNINSTAL.EXE");
    std::vector<Item> first, rest;
    for (size_t i = 0; i < items.size(); i++)
        ((int)i == script || (int)i == uninstaller ? first : rest).push_back(items[i]);
    FirstCount = (int)first.size();
    items = first;
    items.insert(items.end(), rest.begin(), rest.end());
}

// Every file line the script loads, in its order; the keys it does not load are named.
bool ReadItems(void)
{
    std::vector<Item> items;
    std::string leftOut;
    for (int d = 1; d <= MAX_DISKS; d++) {
        std::string section = DiskSection(d);
        std::set<std::string> seen;
        for (const std::string &key : ProfileKeys(section.c_str())) {
            long k = FileNumber(key);
            char line[256] = "";
            if (seen.insert(key).second && k >= 1 && d <= SetupState.DiskCount &&
                k <= SetupState.DiskFileCount[d - 1])
                ReadScriptText(section.c_str(), key.c_str(), "", line, sizeof line);
            if (!line[0]) {
                leftOut += (leftOut.empty() ? "" : ", ") + ("[" + section + "] " + key);
                continue;
            }
            Item item = {d, (int)k, ProfileWrittenValue(section.c_str(), key.c_str()),
                         SetupState.DiskFirstEntry[d - 1][k - 1], {}};
            item.file.path = JoinPath(RelativeDir(item.loaded.SourceDir), item.loaded.SourceName);
            item.file.bytes = StoredBytes(item.file.path);
            if (item.file.bytes < 0) {
                fprintf(stderr, "span-disks: %s: %s is not in %s\n", Where(item).c_str(),
                        item.file.path.c_str(), Medium.c_str());
                return false;
            }
            items.push_back(item);
        }
    }
    if (!leftOut.empty())
        printf("make-medium: left out, as setup does not load them: %s\n", leftOut.c_str());
    PutFirstFilesFirst(items);
    Items = items;
    return true;
}

// A label the script does not give: the product name, cut so that " Disk N" survives.
std::string MadeLabel(int disk)
{
    std::string suffix = " Disk " + std::to_string(disk);
    std::string name = std::string(SetupState.ProductName).substr(0, LabelLimit - suffix.size());
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name + suffix;
}

std::string LabelValue(int disk)
{
    if (disk <= MAX_DISKS && SetupState.DiskLabels[disk - 1][0])
        return ProfileWrittenValue(Text(IDS_DISKLABEL).c_str(), DiskSection(disk).c_str());
    return MadeLabel(disk);
}

// The label as a volume label: 11 characters that keep the disk's number at the end
// when the label must be cut, in capitals as DOS writes them (mtools gives a label with
// small letters a long-name entry too, one more of the root directory's), those a
// volume label cannot hold made "_".
std::string VolumeLabel(const std::string &label, int disk)
{
    std::string volume = label, number = std::to_string(disk);
    if (volume.size() > VolumeLabelLimit) {
        if (volume.size() >= number.size() &&
            !volume.compare(volume.size() - number.size(), number.size(), number))
            volume.erase(volume.size() - number.size());
        while (!volume.empty() && volume.back() == ' ')
            volume.pop_back();
        volume = volume.substr(0, VolumeLabelLimit - number.size());
        while (!volume.empty() && volume.back() == ' ')
            volume.pop_back();
        volume += number;
    }
    for (char &c : volume)
        if (strchr("\"*+,./:;<=>?|\\[]", c))
            c = '_';
        else if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return volume;
}

std::string Line(const std::string &key, const std::string &value)
{
    return key + "=" + value + "\r\n";
}

// The script with the plan's [DiskLabel], [FileCounts] and [DiskN] sections.
std::string WrittenScript(const DiskPlan &plan)
{
    NewSections labels = {{Text(IDS_DISKLABEL)}, "[" + Text(IDS_DISKLABEL) + "]\r\n"};
    NewSections counts = {{Text(IDS_FILECOUNTS)}, "[" + Text(IDS_FILECOUNTS) + "]\r\n"};
    NewSections disks = {{}, ""};
    for (int d = 1; d <= MAX_DISKS; d++)
        disks.names.push_back(DiskSection(d));
    for (int d = 1; d <= plan.disks; d++) {
        int count = 0;
        disks.text += "[" + DiskSection(d) + "]\r\n";
        for (size_t i = 0; i < Items.size(); i++)
            if (plan.diskOf[i] == d - 1)
                disks.text += Line(std::to_string(++count), Items[i].value);
        labels.text += Line(DiskSection(d), LabelValue(d));
        counts.text += Line(DiskSection(d), std::to_string(count));
    }
    return RewriteScript(ScriptText, {labels, counts, disks});
}

std::string EntryText(const FileEntry &e)
{
    return std::string(e.SourceDir) + "|" + e.SourceName + "|" + e.TargetDir + "|" +
           e.TargetName + "|" + e.Description + "|" + std::to_string(e.TargetIsAbsolute);
}

// The loaded values apart from the disks and their files.
std::string LoadedBesideDisks(int loaded)
{
    std::string dump = DumpLoadedScript(loaded), kept;
    size_t start = 0;
    while (start < dump.size()) {
        size_t end = dump.find('\n', start) + 1;
        std::string line = dump.substr(start, end - start);
        if (line.compare(0, 4, "Disk") && line.compare(0, 5, "File ") &&
            line.compare(0, 10, "TotalFiles"))
            kept += line;
        start = end;
    }
    return kept;
}

// 1 when the written script loads as the package's does: the same values, as many disks
// as planned, the items in their order on the planned disks.
bool LoadsAlike(const std::string &written, const DiskPlan &plan, const std::string &before)
{
    UseProfileText(written.data(), written.size());
    int loaded = LoadScriptFromProfile();
    if (!loaded || LoadedBesideDisks(loaded) != before || SetupState.DiskCount != plan.disks)
        return false;
    std::vector<int> next(plan.disks, 0);
    for (size_t i = 0; i < Items.size(); i++) {
        int d = plan.diskOf[i];
        if (next[d] >= SetupState.DiskFileCount[d] ||
            EntryText(SetupState.DiskFirstEntry[d][next[d]++]) != EntryText(Items[i].loaded))
            return false;
    }
    for (int d = 0; d < plan.disks; d++)
        if (next[d] != SetupState.DiskFileCount[d])
            return false;
    return true;
}

// Plans the disks with the written script on disk 1, again as long as the script
// written for a plan takes more clusters than the plan gave it.
DiskPlan PlanWithScript(std::string &written)
{
    std::vector<MediumFile> items;
    for (const Item &item : Items)
        items.push_back(item.file);
    MediumFile setupExe = {"SETUP.EXE", std::max(StoredBytes("SETUP.EXE"), 0LL)};
    MediumFile script = {"SETUP.INF", (long long)ScriptText.size()};
    for (;;) {
        DiskPlan plan = PlanDisks(items, FirstCount, {setupExe, script}, Ends, Format, MAX_DISKS);
        if (plan.result != PLAN_MADE)
            return plan;
        written = WrittenScript(plan);
        long long had = (script.bytes + Format.clusterBytes - 1) / Format.clusterBytes;
        long long needs = ((long long)written.size() + Format.clusterBytes - 1) / Format.clusterBytes;
        if (needs <= had)
            return plan;
        script.bytes = (long long)written.size();
    }
}

int ReportUnplanned(const DiskPlan &plan)
{
    std::string disk = std::to_string(Format.kilobytes) + " KB";
    const Item &item = Items[plan.failedItem];
    if (plan.result == PLAN_NOT_ON_DISK1)
        fprintf(stderr, "make-medium: %s does not fit on disk 1 beside SETUP.EXE and the "
                        "script, where it must be\n", Named(item).c_str());
    else if (plan.result == PLAN_LARGER_THAN_DISK)
        fprintf(stderr, "make-medium: %s is larger than a disk of %s\n", Named(item).c_str(),
                disk.c_str());
    else if (plan.result == PLAN_ALONE_TOO_BIG)
        fprintf(stderr, "make-medium: %s does not fit on a disk of %s of its own, as mtools "
                        "writes it\n", Named(item).c_str(), disk.c_str());
    else {
        long long bytes = 0;
        for (size_t i = plan.failedItem; i < Items.size(); i++)
            bytes += Items[i].file.bytes;
        fprintf(stderr, "make-medium: the package needs more than %d disks of %s: from %s on, "
                        "%zu files (%lld bytes as stored) do not fit\n", MAX_DISKS, disk.c_str(),
                Named(item).c_str(), Items.size() - plan.failedItem, bytes);
    }
    return 2;
}

bool WriteLayout(const std::string &path, const DiskPlan &plan)
{
    FILE *out = fopen(path.c_str(), "w");
    if (!out)
        return false;
    for (int d = 1; d <= plan.disks; d++) {
        std::vector<std::string> files;
        if (d == 1)
            files = {"SETUP.EXE", "SETUP.INF"};
        std::set<std::string> paths = {"setup.exe", "setup.inf"}, dirs;
        int last = -1;
        for (size_t i = 0; i < Items.size(); i++)
            if (plan.diskOf[i] == d - 1) {
                last = (int)i;
                if (paths.insert(Lower(Items[i].file.path)).second)
                    files.push_back(Items[i].file.path);
            }
        fprintf(out, "disk\t%d\t%s\t%s\t%d\n", d, SetupState.DiskLabels[d - 1],
                VolumeLabel(SetupState.DiskLabels[d - 1], d).c_str(), last);
        for (const std::string &f : files)
            for (size_t slash = f.find('/'); slash != std::string::npos; slash = f.find('/', slash + 1))
                if (dirs.insert(Lower(f.substr(0, slash))).second)
                    fprintf(out, "dir\t%d\t%s\n", d, f.substr(0, slash).c_str());
        for (const std::string &f : files)
            fprintf(out, "file\t%d\t%s\n", d, f.c_str());
    }
    return fclose(out) == 0;
}

bool ReadFormat(const char *text)
{
    return sscanf(text, "%lld,%lld,%lld,%d", &Format.kilobytes, &Format.clusterBytes,
                  &Format.clusters, &Format.rootEntries) == 4 &&
           Format.clusterBytes > 0 && Format.rootEntries > 0;
}

int Usage(void)
{
    fprintf(stderr, "usage: span-disks --disk KB,CLUSTER_BYTES,CLUSTERS,ROOT_ENTRIES "
                    "[--end DISK:ITEM]... SCRIPT MEDIUM LAYOUT\n");
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    int i = 1;
    bool formatGiven = false;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        if (!strcmp(argv[i], "--disk"))
            formatGiven = ReadFormat(argv[i + 1]);
        else if (!strcmp(argv[i], "--end") && strchr(argv[i + 1], ':'))
            Ends[atoi(argv[i + 1]) - 1] = atoi(strchr(argv[i + 1], ':') + 1);
        else
            return Usage();
    }
    if (!formatGiven || i + 3 != argc)
        return Usage();
    Script = argv[i];
    Medium = argv[i + 1];
    if (!ReadWhole(Script, ScriptText) || !LoadScriptFile(Script.c_str())) {
        fprintf(stderr, "span-disks: %s cannot be read or loaded\n", Script.c_str());
        return 1;
    }
    std::string before = LoadedBesideDisks(1);
    if (!ReadItems())
        return 1;
    std::string written;
    DiskPlan plan = PlanWithScript(written);
    if (plan.result != PLAN_MADE)
        return ReportUnplanned(plan);
    if (!LoadsAlike(written, plan, before)) {
        fprintf(stderr, "span-disks: the script written for the disks does not load as %s "
                        "does\n", Script.c_str());
        return 1;
    }
    std::string scriptPath = JoinPath(Medium, "SETUP.INF");
    if (!WriteWhole(scriptPath, written) || !WriteLayout(argv[i + 2], plan)) {
        fprintf(stderr, "span-disks: %s or %s cannot be written\n", scriptPath.c_str(), argv[i + 2]);
        return 1;
    }
    return 0;
}
