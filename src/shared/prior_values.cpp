/* The record lives in sections of the SETUP.INF in InstallDir, written through the
   private-profile services. */
#include <windows.h>
#include "prior_values.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "profile_section.h"

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

static const char *const RecordSections[] = { "PS2", "Serial", SYSTEM_RECORD, REPLACED_RECORD };
#define RECORD_SECTIONS 4
static char *HeldSections[RECORD_SECTIONS];
static int Holding;   /* held, and not yet written back: a retry writes these back */

static void ReleaseHeldRecord(void)
{
    for (int i = 0; i < RECORD_SECTIONS; i++) {
        if (HeldSections[i])
            GlobalFree(HeldSections[i]);
        HeldSections[i] = 0;
    }
    Holding = 0;
}

int HoldRecord(void)
{
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    if (Holding)
        return 1;   /* a copy that failed: the file holds what was held no longer */
    Holding = 1;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return 1;   /* nothing recorded yet */
    for (int i = 0; i < RECORD_SECTIONS; i++) {
        DWORD used;
        HeldSections[i] = ReadWholeSection(path, RecordSections[i], 0, &used);
        if (!HeldSections[i]) {
            ReleaseHeldRecord();
            return 0;
        }
    }
    /* the profile cache lets go of the file, which the fresh copy is about to replace */
    WritePrivateProfileStringA(0, 0, 0, path);
    return 1;
}

int PutRecordBack(void)
{
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    int written = 1;
    for (int i = 0; i < RECORD_SECTIONS && written; i++)
        if (HeldSections[i] && HeldSections[i][0])
            written = WritePrivateProfileSectionA(RecordSections[i], HeldSections[i], path) != 0;
    /* to the disk before anything else is changed; the flush's answer tells nothing */
    WritePrivateProfileStringA(0, 0, 0, path);
    if (written)
        ReleaseHeldRecord();
    return written;
}
