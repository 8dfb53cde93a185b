/* A source that cannot be opened asks for the disk it is on, by its label; any other
   failure names the target and what failed. Retry or Cancel. */
#include "copy_failure.h"
#include "whole_file.h"
#include "../shared/path_names.h"
#include "../shared/wininit.h"
#include "../shared/prior_values.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../../resources/resource.h"

void DiskLabelOf(int disk, char *label, int size)
{
    int seen = 0;
    CopyText(label, size, "");
    for (int k = 0; k < MAX_DISKS; k++) {
        if (!SetupState.DiskLabels[k][0])
            continue;
        if (seen++ == disk) {
            CopyText(label, size, SetupState.DiskLabels[k]);
            return;
        }
    }
}

/* The format's %s filled with value, and a second with other; all three fit the 1024
   characters wsprintfA makes. */
static void FormatText(char *text, UINT formatId, const char *value, const char *other = "")
{
    char format[256], bounded[256], second[256];
    CopyText(format, sizeof format, ResourceText(formatId));
    CopyText(bounded, sizeof bounded, value);
    CopyText(second, sizeof second, other);
    wsprintfA(text, format, bounded, second);
}

static UINT FailureText(int outcome)
{
    switch (outcome) {
    case COPY_CANNOT_CREATE:
        return IDS_CANNOTCREATEFILE;
    case COPY_CANNOT_WRITE:
        return IDS_CANNOTWRITEFILE;
    case COPY_CANNOT_SCHEDULE:
        return IDS_CANNOTSCHEDULE;
    case COPY_CANNOT_RECORD:
        return IDS_CANNOTRECORD;
    case COPY_CANNOT_KEEP:
        return IDS_CANNOTKEEPOLD;
    case COPY_OLD_NOT_BACK:
        return IDS_OLDNOTBACK;
    case COPY_NO_DIRECTORY:
        return IDS_CANNOTMAKEDIR;
    }
    return IDS_DAMAGEDSOURCE;
}

/* The path as the user would write it: "C:\ORVEL\.\README.TXT" shows as
   "C:\ORVEL\README.TXT". */
static void Tidy(const char *path, char *tidy, int size)
{
    if (!WholePath(path, tidy, size))
        CopyText(tidy, size, path);
}

int AskToRetry(HWND page, int outcome, int disk, const char *sourcePath, const char *targetPath)
{
    if (SetupState.Silent)
        return 0;   /* nobody to ask: taken as the Cancel */
    char text[1024 + 260], source[MAX_PATH], target[MAX_PATH];
    Tidy(sourcePath, source, sizeof source);
    Tidy(targetPath, target, sizeof target);
    if (outcome == COPY_NO_SOURCE) {
        char label[40];
        DiskLabelOf(disk, label, sizeof label);
        FormatText(text, IDS_INSERTDISK, label);
        AppendText(text, sizeof text, "\n\n");
        AppendText(text, sizeof text, source);
    } else {
        /* WININIT.INI is named when it failed; its bare name should its path not fit */
        if (outcome == COPY_CANNOT_SCHEDULE && !WininitPath(target, sizeof target))
            CopyText(target, sizeof target, "WININIT.INI");
        if (outcome == COPY_CANNOT_RECORD)
            InstalledScriptPath(target, sizeof target);
        FormatText(text, FailureText(outcome), target, OlderFileName());
    }
    return MessageBoxA(page, text, SetupState.Caption,
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}
