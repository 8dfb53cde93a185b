/* The record lives in sections of the SETUP.INF in InstallDir, written through the
   private-profile services. */
#include <windows.h>
#include "prior_values.h"
#include "setup_state.h"
#include "bounded_text.h"

static char InstalledValue[RECORD_VALUE_SIZE];

/* The default of a key the record does not hold: no INI value can be a line end. */
static const char NotRecorded[] = "\n";

void InstalledScriptPath(char *path, int size)
{
    CopyText(path, size, SetupState.InstallDir);
    AppendText(path, size, "\\SETUP.INF");
}

char *ReadInstalledScript(const char *section, const char *key, const char *fallback)
{
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    GetPrivateProfileStringA(section, key, fallback, InstalledValue, sizeof InstalledValue, path);
    return InstalledValue;
}

int ReadRecordedValue(const char *section, const char *key, char *value)
{
    CopyText(value, RECORD_VALUE_SIZE, ReadInstalledScript(section, key, NotRecorded));
    if (lstrcmpA(value, NotRecorded) != 0)
        return 1;
    value[0] = 0;
    return 0;
}

int RecordPriorValue(const char *section, const char *key, const char *value)
{
    char current[RECORD_VALUE_SIZE];
    if (ReadRecordedValue(section, key, current))
        return 1;
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    if (!WritePrivateProfileStringA(section, key, value, path))
        return 0;
    /* Windows 95 keeps profile writes in a cache: the record goes to the disk before
       the value it keeps is changed. The flush's own answer tells nothing (it is 0
       also when it worked), so the key is read back through a fresh cache. */
    WritePrivateProfileStringA(0, 0, 0, path);
    return ReadRecordedValue(section, key, current);
}
