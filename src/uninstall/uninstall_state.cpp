#include "uninstall.h"
#include "../shared/prior_values.h"
#include "../shared/failure_note.h"
#include "../shared/report_file.h"
#include "../../resources/uninstall_resource.h"

UNINSTALLSTATE UninstallState;

int ReadRecord(const char *section, const char *key, char *value, int *recorded)
{
    return ReadRecordedValue(section, key, value, recorded) ||
           NoteRecordFailure(IDS_CANNOTREAD);
}

void NoteLeft(const char *what)
{
    UninstallState.LeftCount++;
    ReportLine("LEFT", what);
}
