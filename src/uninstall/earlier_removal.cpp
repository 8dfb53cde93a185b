/* The way back for an installation made before the install log: the SETUP.INF
   record in InstallDir says what setup replaced. The mouse application's entries that
   name this directory go; while no other installation of the package is registered,
   the mouse device and system.ini are put back; the files the script lists go from
   where setup put them (one outside this directory only when the record says setup
   put it there), older files come back, and the script's directories go when they are
   left empty. Files the user added stay. */
#include "uninstall.h"
#include "earlier_removal.h"
#include "product_removal.h"
#include "device_restore.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/file_paths.h"
#include "../shared/dir_entries.h"
#include "../shared/path_names.h"
#include "../shared/path_text.h"
#include "../shared/prior_values.h"
#include "../shared/system_ini.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

/* Names that could stand for more than one file are not taken. */
static int IsPlainName(const char *name)
{
    if (!name[0])
        return 0;
    for (; *name; name++)
        if (*name == '*' || *name == '?')
            return 0;
    return 1;
}

/* A file in the destination is the package's. One outside it is the package's only
   when the record notes that setup put it there: an entry the copy never reached (it
   was cancelled, or failed) may name another program's file of the same name. */
static int RemoveListedFile(const FileEntry *entry, const char *target)
{
    char kept[RECORD_VALUE_SIZE];
    int recorded;
    if (!entry->TargetIsAbsolute)
        return RemoveFile(target);
    if (!ReadRecord(REPLACED_RECORD, target, kept, &recorded))
        return 0;
    if (!recorded)
        return 1;
    return kept[0] ? PutOlderFileBack(target, kept) : RemoveFile(target);
}

static int RemoveListedFiles(void)
{
    int done = 1;
    FileEntry *end = SetupState.DiskFirstEntry[SetupState.DiskCount];
    for (FileEntry *entry = SetupState.DiskFirstEntry[0]; entry && entry < end; entry++) {
        if (!IsPlainName(entry->TargetName) ||
            (entry->TargetIsAbsolute && !UninstallState.OwnsSharedState))
            continue;
        char composed[UNINSTALL_PATH_SIZE], target[UNINSTALL_PATH_SIZE];
        ComposeTargetPath(composed, sizeof composed, SetupState.InstallDir, entry);
        if (!CanonicalPath(composed, target, UNINSTALL_PATH_SIZE) || GoesLast(target))
            continue;   /* a path that does not fit names no file setup could make */
        done = RemoveListedFile(entry, target) && done;
    }
    return done;
}

/* For the entries of a directory: each removed as its kind wants, the outcome kept. */
static void RemoveEachDirectory(const char *path, int isDir, void *done)
{
    if (isDir && !RemoveEmptyDirectory(path, 0))
        *(int *)done = 0;
}

/* Setup's own temporary files (KXnnnn.TMP) that a copy which failed could not take
   away; in the destination's directories nobody else makes them. */
static void RemoveTemporaryFile(const char *path, int isDir, void *done)
{
    if (!isDir && !RemoveFile(path))
        *(int *)done = 0;
}

/* Every entry of dir that matches pattern, removed by each; 1, or 0 noted. */
static int RemoveEntries(const char *dir, const char *pattern,
                         void (*each)(const char *, int, void *))
{
    int done = 1;
    if (!ForEachEntry(dir, pattern, each, &done))
        return NoteFailure(IDS_CANNOTREAD, dir);
    return done;
}

/* A directory of the destination: setup's temporary files, then the directory itself
   when it is left empty and is not the destination. */
static int ClearDirectory(const char *dir)
{
    int done = RemoveEntries(dir, SETUP_TEMPORARIES, RemoveTemporaryFile);
    return (SamePlace(dir, SetupState.InstallDir) || RemoveEmptyDirectory(dir, 0)) && done;
}

/* The folders that kept older files, REPLACED and those in it, once the files are back. */
static int RemoveKeptFolders(void)
{
    char replaced[UNINSTALL_PATH_SIZE];
    DWORD attributes;
    JoinPath(replaced, sizeof replaced, SetupState.InstallDir, "REPLACED");
    if (!RemoveEntries(replaced, "*", RemoveEachDirectory) || !ToldAttributes(replaced, &attributes))
        return 0;
    return attributes == INVALID_FILE_ATTRIBUTES || RemoveEmptyDirectory(replaced, 0);
}

/* A script's directory below this one, deepest level first ("DRIVERS\WIN95", then
   DRIVERS), each while it is left empty. A value that is no relative directory names
   none setup made. */
static int RemoveSubDirectory(const char *sub)
{
    char level[sizeof(FileEntry::TargetDir)], dir[UNINSTALL_PATH_SIZE];
    CopyText(level, sizeof level, sub);   /* the name, cut as setup made it */
    if (!IsRelativeDir(level))
        return 1;
    for (int deepest = 1; level[0]; deepest = 0) {
        DWORD attributes;
        JoinPath(dir, sizeof dir, SetupState.InstallDir, level);
        if (!ToldAttributes(dir, &attributes))
            return 0;
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            !(deepest ? ClearDirectory(dir) : RemoveEmptyDirectory(dir, 0)))
            return 0;
        DirectoryOf(level, level, sizeof level);
    }
    return 1;
}

/* SubDir6 to SubDir1, then RootDir (the destination itself, or a directory of its own). */
static int RemoveSubDirectories(void)
{
    int done = 1;
    for (int slot = SLOT_SUBDIR1 + 5; slot >= SLOT_ROOTDIR; slot--)
        if (SetupState.DirectorySlots[slot][0])
            done = RemoveSubDirectory(SetupState.DirectorySlots[slot]) && done;
    return done;
}

/* The mouse line from before setup: the record's, or system.bak's where the record
   holds none; 0, noted, when one of them cannot be read. */
static int RecordedMouseLine(char *old, int *known)
{
    char failed[INI_PATH_SIZE];
    if (!ReadRecordedValue(SYSTEM_RECORD, MOUSE_LINE_KEY, old, known))
        return NoteRecordFailure(IDS_CANNOTREAD);
    if (*known || ReadSystemIniMouseLine("system.bak", old, RECORD_VALUE_SIZE, known))
        return 1;
    WindowsFilePath("system.bak", failed);
    return NoteFailure(IDS_CANNOTREAD, failed);
}

/* Each step does what it can even after one before it failed. */
int RemoveEarlierInstallation(void)
{
    int done = FindRegisteredInstallation();
    done = RemoveProductRegistration() && done;
    if (UninstallState.OwnsSharedState) {
        done = RestoreMouseDevice() && done;
        done = RestoreSystemIni(RecordedMouseLine, 1) && done;
    }
    int files = RemoveListedFiles();
    int kept = RemoveKeptFolders();
    return RemoveSubDirectories() && files && kept && done;
}
