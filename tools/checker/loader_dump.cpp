/* The loaded script as text, one value a line; see the header. */
#include "loader_dump.h"
#include "shared/setup_state.h"

namespace {

void Line(std::string &out, const std::string &name, const std::string &value)
{
    out += name + ": \"" + value + "\"\n";
}

void Line(std::string &out, const std::string &name, long value)
{
    out += name + ": " + std::to_string(value) + "\n";
}

void DumpEntry(std::string &out, const std::string &name, const FileEntry *e)
{
    Line(out, name + " source", std::string(e->SourceDir) + "|" + e->SourceName);
    Line(out, name + " target", std::string(e->TargetDir) + "|" + e->TargetName);
    Line(out, name + " description", e->Description);
    Line(out, name + " absolute", e->TargetIsAbsolute);
}

}  // namespace

std::string DumpLoadedScript(int loaded)
{
    std::string out;
    Line(out, "loaded", loaded);
    Line(out, "ProductName", SetupState.ProductName);
    Line(out, "Caption", SetupState.Caption);
    Line(out, "OfferedDir", SetupState.OfferedDir);
    Line(out, "GroupName", SetupState.GroupName);
    Line(out, "GroupTitle", SetupState.GroupTitle);
    Line(out, "MinimumSpace", SetupState.MinimumSpace);
    Line(out, "DiskCount", SetupState.DiskCount);
    for (int d = 0; d < MAX_DISKS; d++)
        Line(out, "DiskLabel " + std::to_string(d + 1), SetupState.DiskLabels[d]);
    for (int slot = 0; slot < DIRECTORY_SLOTS; slot++)
        Line(out, "DirectorySlot " + std::to_string(slot), SetupState.DirectorySlots[slot]);
    if (!loaded)
        return out;
    for (int d = 0; d < SetupState.DiskCount; d++) {
        Line(out, "DiskFileCount " + std::to_string(d + 1), SetupState.DiskFileCount[d]);
        for (int k = 0; k < SetupState.DiskFileCount[d]; k++)
            DumpEntry(out, "File " + std::to_string(d + 1) + "." + std::to_string(k + 1),
                      SetupState.DiskFirstEntry[d] + k);
    }
    Line(out, "TotalFiles", SetupState.TotalFiles);
    Line(out, "GroupItemCount", SetupState.GroupItemCount);
    const GroupItem *items = (const GroupItem *)SetupState.DiskFirstEntry[SetupState.DiskCount];
    for (int n = 0; n < SetupState.GroupItemCount; n++)
        Line(out, "GroupItem " + std::to_string(n + 1),
             std::string(items[n].Name) + "|" + items[n].Title + "|" + items[n].Flags);
    Line(out, "OEM", SetupState.OEM);
    Line(out, "MouseKind", SetupState.MouseKind);
    const char *startup[][2] = {
        {"FileName", SetupState.FileName}, {"Title", SetupState.Title},
        {"Mfg", SetupState.Mfg}, {"MouseDriver", SetupState.MouseDriver},
        {"MouseInf", SetupState.MouseInf}, {"DriverDate", SetupState.DriverDate},
        {"PS2InfSection", SetupState.PS2InfSection},
        {"SerialInfSection", SetupState.SerialInfSection}, {"PS2Name", SetupState.PS2Name},
        {"SeialName", SetupState.SeialName}, {"PnpID", SetupState.PnpID},
    };
    for (auto &s : startup)
        Line(out, s[0], s[1]);
    return out;
}
