#include "uninstall.h"
#include "../shared/prior_values.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

UNINSTALLSTATE UninstallState;

int ReadRecord(const char *section, const char *key, char *value, int *recorded)
{
    if (ReadRecordedValue(section, key, value, recorded))
        return 1;
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    return NoteFailure(IDS_CANNOTREAD, path);
}
