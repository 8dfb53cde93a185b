#include "change_log.h"
#include "../shared/install_log.h"
#include "../shared/log_lines.h"
#include "../shared/registry_values.h"
#include "../shared/setup_state.h"
#include "../shared/failure_note.h"
#include "../shared/ini_file.h"
#include "../shared/path_names.h"
#include "../shared/bounded_text.h"
#include "../shared/placed_file.h"
#include "../../resources/resource.h"

static int Open;
static ProfileText Earlier;   /* the log this run carries on, for what it put in place */

/* The targets this installation's runs put in place, or found nothing at: the earlier
   runs' as carried on, this run's as their records are written. One path a line, each
   once, in its one form, and beside each (the same place in OurFiles) what the last
   record says of it: LoggedBefore looks here, not in the log on the disk. */
struct OurFile {
    int placed;          /* 0: found nothing there, and not put in place since */
    PlacedStamp stamp;   /* as placed */
};
static char *Ours;
static int OursLength, OursSize, OurCount, OurFilesSize;
static OurFile *OurFiles;

/* The place of target among Ours (from 1); 0 when it is not there. */
static int OurIndex(const char *target)
{
    int index = 1;
    for (int at = 0; at < OursLength; at += lstrlenA(Ours + at) + 1, index++)
        if (SameTextNoCase(Ours + at, target))
            return index;
    return 0;
}

static void ForgetOurs(void)
{
    if (Ours)
        GlobalFree(Ours);
    if (OurFiles)
        GlobalFree(OurFiles);
    Ours = 0;
    OurFiles = 0;
    OursLength = OursSize = OurCount = OurFilesSize = 0;
}

/* block (of *size bytes, used of them in use) grown to hold more bytes; 0 without
   memory, the block then as it was. */
static int Grow(void **block, int *size, int used, int more)
{
    if (used + more <= *size)
        return 1;
    int grown = *size * 2 + more + 4096;
    void *bigger = GlobalAlloc(GMEM_FIXED, (SIZE_T)grown);
    if (!bigger)
        return 0;
    CopyMemory(bigger, *block, (SIZE_T)used);
    if (*block)
        GlobalFree(*block);
    *block = bigger;
    *size = grown;
    return 1;
}

/* What the last record says of target; 0, noted, when there is no memory for it. */
static int RememberOurs(const char *target, const OurFile *file)
{
    int length = lstrlenA(target) + 1, index = OurIndex(target);
    if (index) {
        OurFiles[index - 1] = *file;
        return 1;
    }
    if (!Grow((void **)&Ours, &OursSize, OursLength, length) ||
        !Grow((void **)&OurFiles, &OurFilesSize, (int)sizeof(OurFile) * OurCount, (int)sizeof(OurFile))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NoteFailure(IDS_CANNOTRECORD, target);
    }
    CopyMemory(Ours + OursLength, target, (SIZE_T)length);
    OursLength += length;
    OurFiles[OurCount++] = *file;
    return 1;
}

/* The target a record names when it says the package put a file there or found none
   there, into name (MAX_PATH bytes), and what it says in *file; 0 for any other record. */
static int NamesOurs(const char *line, char *name, OurFile *file)
{
    char kind[16], existed[4];
    if (!LogField(line, 0, kind, sizeof kind) || !LogField(line, 1, name, MAX_PATH))
        return 0;
    file->placed = !lstrcmpA(kind, LOG_PLACED) && ReadPlacedFields(line, &file->stamp);
    return file->placed || (!lstrcmpA(kind, LOG_FILE) && LogField(line, 2, existed, sizeof existed) &&
                            existed[0] == '0');
}

static int RememberEarlierOurs(void)
{
    char line[LOG_LINE_SIZE], name[MAX_PATH];
    OurFile file;
    for (int at = 0; NextLogLine(Earlier.text, Earlier.length, &at, line, sizeof line) > 0;)
        if (NamesOurs(line, name, &file) && !RememberOurs(name, &file))
            return 0;
    return 1;
}

/* A whole record written, and remembered when it names a file of the package's. */
static int WriteLine(const char *line)
{
    if (!WriteLogRecord(line, IDS_CANNOTRECORD))
        return 0;
    char name[MAX_PATH];
    OurFile file;
    return !NamesOurs(line, name, &file) || RememberOurs(name, &file);
}

/* One record of up to five text fields after its kind (null fields end it). */
static int WriteRecord(const char *kind, const char *a, const char *b = 0, const char *c = 0,
                       const char *d = 0, const char *e = 0)
{
    if (!Open)
        return 1;
    char line[LOG_LINE_SIZE] = "";
    const char *fields[] = { kind, a, b, c, d, e };
    for (int i = 0; i < 6 && fields[i]; i++)
        if (!AddLogField(line, sizeof line, fields[i])) {
            SetLastError(ERROR_BUFFER_OVERFLOW);
            return NoteFailure(IDS_CANNOTRECORD, a);
        }
    return WriteLine(line);
}

/* Each level of path that is not there yet, from the top: the keys the call makes. */
static int LogKeysMade(HKEY root, const char *path)
{
    char level[REG_PATH_SIZE];
    for (int i = 0; i == 0 || path[i - 1]; i++) {
        if (path[i] && path[i] != '\\')
            continue;
        lstrcpynA(level, path, i + 1);
        HKEY key;   /* one held here is there without a look */
        if (!OpenRegKey(root, level, &key))
            return NoteKeyFailure(IDS_CANNOTWRITEKEY, root, level);
        CloseRegKey(key);
        if (!key && !WriteRecord(LOG_KEY, LogRootName(root), level))
            return 0;
    }
    return 1;
}

/* A value's record: what it becomes and what it was. */
static int LogValue(HKEY root, const char *path, const char *name, DWORD type,
                    const BYTE *data, DWORD length, const RegPrior *prior)
{
    char line[LOG_LINE_SIZE] = "", typeText[16] = "", oldType[16] = "";
    if (data)   /* deleted: no value after */
        wsprintfA(typeText, "%lu", type);
    if (prior->there)
        wsprintfA(oldType, "%lu", prior->type);
    int fits = AddLogField(line, sizeof line, LOG_VALUE) &&
               AddLogField(line, sizeof line, LogRootName(root)) &&
               AddLogField(line, sizeof line, path) && AddLogField(line, sizeof line, name) &&
               AddLogField(line, sizeof line, typeText) &&
               AddLogBytes(line, sizeof line, data, (int)length) &&
               AddLogField(line, sizeof line, prior->there ? "1" : "0") &&
               (!prior->there ||
                (AddLogField(line, sizeof line, oldType) &&
                 AddLogBytes(line, sizeof line, (const BYTE *)prior->data, (int)prior->length)));
    if (!fits) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return NoteKeyFailure(IDS_CANNOTRECORD, root, path);
    }
    return WriteLogRecord(line, IDS_CANNOTRECORD);
}

/* Told of each registry change before it is made. */
static int LogRegistryChange(HKEY root, const char *path, const char *name, DWORD type,
                             const BYTE *data, DWORD length, const RegPrior *prior)
{
    int logged = name ? LogValue(root, path, name, type, data, length, prior)
                      : LogKeysMade(root, path);
    if (!logged)
        SetLastError(FailureError());
    return logged;
}

int BeginChangeLog(void)
{
    /* a log left by an earlier run into the same directory (interrupted, or its
       directory deleted by hand: then the Windows directory's copy) is carried on, so
       that the log describes the machine from before the package first touched it */
    int found;
    if (Open)
        EndChangeLog();   /* a copy before this one in the same run: its log is done */
    FreeIniFile(&Earlier);
    ForgetOurs();
    if (!ReadInstallLog(SetupState.InstallDir, &Earlier, &found, IDS_CANNOTREAD) ||
        !RememberEarlierOurs() || !StartInstallLog(SetupState.InstallDir, &Earlier, IDS_CANNOTRECORD))
        return 0;
    Open = 1;
    WatchRegistry(LogRegistryChange);
    return WriteRecord(LOG_PACKAGE, SetupState.ProductName, SetupState.Title);
}

int LogPhase(const char *name)
{
    return WriteRecord(LOG_PHASE, name) && (!Open || FlushInstallLog(IDS_CANNOTRECORD));
}

int LogDirectory(const char *dir)
{
    return WriteRecord(LOG_DIR, dir);
}

int LoggedBefore(const char *target, int *logged)
{
    *logged = 0;
    int index = Open ? PlaceInList(Ours, OursLength, target) : 0;   /* an earlier run's
                                                                       short form of it too */
    if (!index)
        return 1;
    const OurFile *file = &OurFiles[index - 1];
    if (!file->placed) {   /* named as being written by a run that ended there */
        *logged = 1;
        return 1;
    }
    return IsFileAsPlaced(target, &file->stamp, logged) || NoteFailure(IDS_CANNOTREAD, target);
}

int LogFilePlacing(const char *target, int existed, const char *keep)
{
    return WriteRecord(LOG_FILE, target, existed ? "1" : "0", keep ? keep : "");
}

int LogFilePlaced(const char *target, const PlacedStamp *placed)
{
    if (!Open)
        return 1;
    char line[LOG_LINE_SIZE] = "";
    if (!AddLogField(line, sizeof line, LOG_PLACED) || !AddLogField(line, sizeof line, target) ||
        !AddPlacedFields(line, sizeof line, placed)) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return NoteFailure(IDS_CANNOTRECORD, target);
    }
    return WriteLine(line);
}

int LogIniChange(const char *path, const char *oldLine, int found, const char *newLine,
                 DWORD attributes)
{
    char flags[16];
    wsprintfA(flags, "%lu", attributes);
    return WriteRecord(LOG_INI, path, found ? "1" : "0", found ? oldLine : "", newLine, flags);
}

int LogSetAside(const char *from, const char *to)
{
    return WriteRecord(LOG_ASIDE, from, to);
}

int LogTemporary(const char *path)
{
    return WriteRecord(LOG_TEMP, path);
}

void DeleteLoggedTemporaries(void)
{
    char line[LOG_LINE_SIZE], field[MAX_PATH];
    for (int at = 0; NextLogLine(Earlier.text, Earlier.length, &at, line, sizeof line) > 0;)
        if (LogField(line, 0, field, sizeof field) && !lstrcmpA(field, LOG_TEMP) &&
            LogField(line, 1, field, sizeof field))
            DeleteFileA(field);
}

int EndChangeLog(void)
{
    if (!Open)
        return 1;
    WatchRegistry(0);
    Open = 0;
    FreeIniFile(&Earlier);
    ForgetOurs();
    int flushed = FlushInstallLog(IDS_CANNOTRECORD);
    CloseInstallLog();
    return flushed;
}
