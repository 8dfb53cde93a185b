/* The record lives in sections of the SETUP.INF in InstallDir (in SetupDir for the
   driver-only mode without an installation), written through the private-profile
   services. */
#include <windows.h>
#include "prior_values.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "path_text.h"
#include "ini_file.h"
#include "failure_note.h"

static int Nowhere;   /* no record can be written, and none is wanted */

/* While a copy runs, the record is read from the disk once and kept until this program
   writes it again: each file replaced asks it whether an older file was kept. */
static int Remembering;
static int RememberedRead;   /* Remembered holds the file's text */
static ProfileText Remembered;

void RememberRecord(int on)
{
    if (RememberedRead)
        FreeIniFile(&Remembered);
    RememberedRead = 0;
    Remembering = on;
}

/* The default of a key the record does not hold: no INI value can be a line end. */
static const char NotRecorded[] = "\n";

int NoteRecordFailure(unsigned int textId)
{
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    return NoteFailure(textId, path);
}

void InstalledScriptPath(char *path, int size)
{
    const char *dir = SetupState.RecordBesideProgram ? SetupState.SetupDir : SetupState.InstallDir;
    JoinPath(path, size, dir, "SETUP.INF");   /* RECORD_PATH_SIZE holds it */
}

int ReadRecordedValue(const char *section, const char *key, char *value, int *recorded)
{
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    ProfileText read, *record = Remembering ? &Remembered : &read;
    *recorded = 0;
    value[0] = 0;
    if ((!Remembering || !RememberedRead) && !ReadIniFile(path, record))
        return 0;
    RememberedRead = Remembering;
    ProfileString(record, section, key, NotRecorded, value, RECORD_VALUE_SIZE);
    *recorded = lstrcmpA(value, NotRecorded) != 0;
    if (!*recorded)
        value[0] = 0;
    if (!Remembering)
        FreeIniFile(&read);
    return 1;
}

/* The record's file made, empty, where it is not there: Windows 95 writes no empty
   value into a file that is not there. 0 when it can be neither found nor made. */
static int MakeRecordFile(const char *path)
{
    HANDLE made = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
    if (made == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(made);   /* empty: its close has nothing to lose */
    return 1;
}

int RecordPriorValue(const char *section, const char *key, const char *value)
{
    char current[RECORD_VALUE_SIZE];
    int recorded;
    if (!ReadRecordedValue(section, key, current, &recorded))
        return 0;
    if (recorded || Nowhere)
        return 1;
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    RememberRecord(Remembering);   /* read back from the disk below */
    if ((!value[0] && !MakeRecordFile(path)) || !WritePrivateProfileStringA(section, key, value, path))
        return 0;
    /* Windows 95 keeps profile writes in a cache: the record goes to the disk before
       the value it keeps is changed. The flush's own answer tells nothing (it is 0
       also when it worked), so the key is read back from the disk. */
    FlushProfileCache(path);
    return ReadRecordedValue(section, key, current, &recorded) && recorded;
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

/* The record's section as listed from the text, in memory of its own; 0 without memory. */
static char *ListSection(const ProfileText *record, const char *section)
{
    int size = ProfileSection(record, section, 0, 0);
    char *lines = (char *)GlobalAlloc(GMEM_FIXED, size);
    if (lines)
        ProfileSection(record, section, lines, size);
    return lines;
}

static int SameList(const char *a, const char *b)
{
    for (; *a || *b; a += lstrlenA(a) + 1, b += lstrlenA(b) + 1)
        if (lstrcmpA(a, b))
            return 0;
    return 1;
}

int HoldRecord(void)
{
    if (Holding)
        return 1;   /* a copy that failed: the file holds what was held no longer */
    RememberRecord(Remembering);   /* the file is about to be replaced */
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    ProfileText record;
    if (!ReadIniFile(path, &record))
        return 0;
    Holding = 1;
    for (int i = 0; i < RECORD_SECTIONS && Holding; i++)
        if (!(HeldSections[i] = ListSection(&record, RecordSections[i])))
            ReleaseHeldRecord();
    FreeIniFile(&record);
    /* the profile cache lets go of the file, which the fresh copy is about to replace */
    FlushProfileCache(path);
    return Holding;
}

/* 1 when the file on the disk holds every section held. */
static int RecordOnDisk(const char *path)
{
    ProfileText record;
    if (!ReadIniFile(path, &record))
        return 0;
    int same = 1;
    for (int i = 0; i < RECORD_SECTIONS && same; i++) {
        char *lines = HeldSections[i] ? ListSection(&record, RecordSections[i]) : 0;
        same = !HeldSections[i] || (lines && SameList(lines, HeldSections[i]));
        if (lines)
            GlobalFree(lines);
    }
    FreeIniFile(&record);
    return same;
}

int PutRecordBack(void)
{
    char path[RECORD_PATH_SIZE];
    InstalledScriptPath(path, sizeof path);
    RememberRecord(Remembering);
    int written = 1;
    for (int i = 0; i < RECORD_SECTIONS && written; i++)
        if (HeldSections[i] && HeldSections[i][0])
            written = WritePrivateProfileSectionA(RecordSections[i], HeldSections[i], path) != 0;
    /* to the disk before anything else is changed; the flush's answer tells nothing, so
       the file is read back */
    FlushProfileCache(path);
    if (!written || !RecordOnDisk(path))
        return 0;
    ReleaseHeldRecord();
    return 1;
}

void RecordNowhere(void)
{
    Nowhere = 1;
}
