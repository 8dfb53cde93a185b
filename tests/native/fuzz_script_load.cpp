// Fuzzes the script loader's rules over whole SETUP.INF files, read the way the
// private-profile services read them: whatever the text, every kept value ends inside
// its field and the counts stay within what the file table was laid out for.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "profile_file.h"
#include "native_loader.h"
#include "shared/setup_state.h"

static void MustEnd(const char *field, size_t size)
{
    if (!memchr(field, 0, size))
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    UseProfileText((const char *)data, size);
    if (LoadScriptFromProfile()) {
        if (SetupState.DiskCount < 0 || SetupState.DiskCount > MAX_DISKS ||
            SetupState.GroupItemCount < 0 || SetupState.GroupItemCount > GROUP_ITEM_COUNT)
            abort();
        int total = 0;
        for (int d = 0; d < SetupState.DiskCount; d++)
            total += SetupState.DiskFileCount[d];
        if (total != SetupState.TotalFiles ||
            SetupState.DiskFirstEntry[SetupState.DiskCount] !=
                (FileEntry *)SetupState.FileTableBase + total)
            abort();
        for (FileEntry *e = SetupState.DiskFirstEntry[0]; e < SetupState.DiskFirstEntry[SetupState.DiskCount]; e++) {
            MustEnd(e->SourceDir, sizeof e->SourceDir);
            MustEnd(e->TargetDir, sizeof e->TargetDir);
            MustEnd(e->SourceName, sizeof e->SourceName);
            MustEnd(e->TargetName, sizeof e->TargetName);
            MustEnd(e->Description, sizeof e->Description);
            if (e->TargetIsAbsolute != 0 && e->TargetIsAbsolute != 1)
                abort();
        }
        MustEnd(SetupState.ProductName, sizeof SetupState.ProductName);
        MustEnd(SetupState.InstallDir, sizeof SetupState.InstallDir);
        MustEnd(SetupState.PnpID, sizeof SetupState.PnpID);
    }
    ReleaseFileTable();
    return 0;
}
