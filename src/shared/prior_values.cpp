/* Prior values live in INI sections "PS2" and "Serial" of the SETUP.INF in InstallDir,
   written through the private-profile services. Nothing is reported on failure. */
#include <windows.h>
#include "prior_values.h"
#include "setup_state.h"
#include "bounded_text.h"

static char InstalledValue[256];

static void InstalledScriptPath(char *path, int size)
{
    CopyText(path, size, SetupState.InstallDir);
    AppendText(path, size, "\\SETUP.INF");
}

char *ReadInstalledScript(const char *section, const char *key, const char *fallback)
{
    char path[256];
    InstalledScriptPath(path, sizeof path);
    GetPrivateProfileStringA(section, key, fallback, InstalledValue, sizeof InstalledValue, path);
    return InstalledValue;
}

void RecordPriorValue(const char *section, const char *key, const char *value)
{
    char current[256];
    CopyText(current, sizeof current, ReadInstalledScript(section, key, ""));
    if (current[0])
        return;
    char path[256];
    InstalledScriptPath(path, sizeof path);
    WritePrivateProfileStringA(section, key, value, path);
}
