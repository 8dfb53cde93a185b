#include "uninstall.h"
#include "../shared/prior_values.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

UNINSTALLSTATE UninstallState;

int Recorded(const char *section, const char *key, char *value)
{
    int recorded = ReadRecordedValue(section, key, value);
    if (recorded < 0) {
        char path[RECORD_PATH_SIZE];
        InstalledScriptPath(path, sizeof path);
        NoteFailure(IDS_CANNOTREAD, path);
    }
    return recorded > 0;
}
