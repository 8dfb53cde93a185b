/* The way back by the install log: each change setup wrote down is undone, last first,
   where the machine still holds what setup made of it; a file, key, value or line
   that someone changed since is left as it is and named as left. The uninstall
   entry, the script and this program are not undone here: they go last, as without a
   log. */
#include "uninstall.h"
#include "../shared/install_log.h"
#include "../shared/log_lines.h"
#include "../shared/ini_file.h"
#include "../shared/registry_values.h"
#include "../shared/product_keys.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/path_names.h"
#include "../shared/path_text.h"
#include "../shared/mouse_app.h"
#include "../shared/prior_values.h"
#include "../shared/placed_file.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

static ProfileText Log;
static int *Starts;   /* where each whole line begins */
static int LineCount;

int FindInstallLog(int *found)
{
    if (!ReadInstallLog(SetupState.InstallDir, &Log, found, IDS_CANNOTREAD))
        return 0;
    int lines = 0;
    for (int i = 0; i < Log.length; i++)
        lines += Log.text[i] == '\n';
    Starts = (int *)GlobalAlloc(GMEM_FIXED, sizeof(int) * (lines + 1));
    if (!Starts)
        return NoteFailure(IDS_CANNOTREAD, INSTALL_LOG_NAME);
    char line[LOG_LINE_SIZE];
    int at = 0, start = 0, next;
    while ((next = NextLogLine(Log.text, Log.length, &at, line, sizeof line)) > 0) {
        Starts[LineCount++] = start;
        start = at;
    }
    if (next < 0) {   /* longer than any record setup writes: not to be passed over */
        SetLastError(ERROR_INVALID_DATA);
        return NoteFailure(IDS_CANNOTREAD, INSTALL_LOG_NAME);
    }
    return 1;
}

/* The index-th line into line (LOG_LINE_SIZE bytes) and its kind into kind (16). */
static int LogLine(int index, char *line, char *kind)
{
    int at = Starts[index];
    return NextLogLine(Log.text, Log.length, &at, line, LOG_LINE_SIZE) > 0 &&
           LogField(line, 0, kind, 16);
}

int LoggedPackage(char *product, char *title, int size)
{
    char line[LOG_LINE_SIZE], kind[16];
    for (int i = 0; i < LineCount; i++)
        if (LogLine(i, line, kind) && !lstrcmpA(kind, LOG_PACKAGE))
            return LogField(line, 1, product, size) && LogField(line, 2, title, size);
    return 0;
}

/* 1 when the log says setup set VMOUSE.VXD aside. */
static int LoggedSetAside(void)
{
    char line[LOG_LINE_SIZE], kind[16];
    for (int i = 0; i < LineCount; i++)
        if (LogLine(i, line, kind) && !lstrcmpA(kind, LOG_ASIDE))
            return 1;
    return 0;
}

/* The mouse line of system.ini from before the first installation: 1, with *known 1
   and the line (empty: there was none), or *known 0 when the log holds none. */
static int LoggedMouseLine(char *old, int *known)
{
    const int size = RECORD_VALUE_SIZE;
    char line[LOG_LINE_SIZE], kind[16], found[4];
    *known = 0;
    for (int i = 0; i < LineCount && !*known; i++)   /* the first: from before any */
        if (LogLine(i, line, kind) && !lstrcmpA(kind, LOG_INI) && LogField(line, 2, found, sizeof found))
            *known = found[0] == '1' ? LogField(line, 3, old, size) : (CopyText(old, size, ""), 1);
    return 1;
}

/* A value's data as a record holds it, and the same value on the machine. */
struct ValueData {
    int there;
    DWORD type;
    int length;
    unsigned char bytes[LOG_FIELD_SIZE];
};

/* The bytes of a value that count: a text read back may end in a NUL it was not
   written with. */
static int Significant(const ValueData *v)
{
    int n = v->length;
    if (v->type == REG_SZ || v->type == REG_EXPAND_SZ)
        while (n > 0 && !v->bytes[n - 1])
            n--;
    return n;
}

static int SameData(const ValueData *a, const ValueData *b)
{
    if (a->there != b->there)
        return 0;
    if (!a->there)
        return 1;
    if (a->type != b->type || a->length < 0 || b->length < 0 || Significant(a) != Significant(b))
        return 0;
    for (int i = 0; i < Significant(a); i++)
        if (a->bytes[i] != b->bytes[i])
            return 0;
    return 1;
}

/* Fields at from (type, data) of a record into v; an empty type: no value. */
static int RecordedData(const char *line, int from, ValueData *v)
{
    char type[16];
    if (!LogField(line, from, type, sizeof type))
        return 0;
    v->there = type[0] != 0;
    v->type = 0;
    for (const char *p = type; *p >= '0' && *p <= '9'; p++)
        v->type = v->type * 10 + (DWORD)(*p - '0');
    v->length = LogBytes(line, from + 1, v->bytes, sizeof v->bytes);
    return v->length >= 0;
}

static int CurrentData(HKEY key, const char *name, ValueData *v)
{
    char *data = 0;
    DWORD length = 0;
    v->there = 0;
    if (key && !ReadRegData(key, name, &v->type, &data, &length))
        return 0;
    if (data) {
        v->there = 1;
        v->length = length < sizeof v->bytes ? (int)length : (int)sizeof v->bytes;
        CopyMemory(v->bytes, data, v->length);
        if (length > sizeof v->bytes)
            v->length = -1;   /* longer than anything setup writes: not its */
    }
    FreeRegText(data);
    return 1;
}

static void KeyAndName(HKEY root, const char *path, const char *name, char *text, int size)
{
    KeyName(root, path, text, size);
    AppendText(text, size, " ");
    AppendText(text, size, name[0] ? name : "(default)");
}

/* 1 for a text that runs or names a file of this directory, in any of its forms (a
   short name, an earlier version's doubled backslash, quotes). */
static int NamesOwnFile(const ValueData *v)
{
    char text[LOG_FIELD_SIZE + 1], program[MAX_PATH], dir[MAX_PATH];
    if (!v->there || v->type != REG_SZ || v->length < 0)
        return 0;
    CopyMemory(text, v->bytes, v->length);
    text[v->length] = 0;
    return ProgramOfCommand(text, program, sizeof program) &&
           DirectoryOf(program, dir, sizeof dir) && SamePlace(dir, SetupState.InstallDir);
}

/* A device node's Driver names its class key: while that key stays, taken over by
   another driver, the binding stays with it. 1 and *binds; 0, noted, when the class key
   cannot be looked at. */
static int BindsKeptClassKey(HKEY root, const char *path, const char *name, const ValueData *v,
                             int *binds)
{
    char classKey[REG_PATH_SIZE];
    HKEY key;
    *binds = 0;
    if (root != HKEY_LOCAL_MACHINE || lstrcmpiA(name, "Driver") || !BeginsWithNoCase(path, "Enum\\") ||
        v->type != REG_SZ || v->length <= 0 ||
        !ComposeClassKeyPath((const char *)v->bytes, v->length, classKey, sizeof classKey))
        return 1;
    if (!OpenRegKey(HKEY_LOCAL_MACHINE, classKey, &key))
        return NoteKeyFailure(IDS_CANNOTREADKEY, HKEY_LOCAL_MACHINE, classKey);
    CloseRegKey(key);
    *binds = key != 0;
    return 1;
}

/* The uninstall entry goes last, by its own step. */
static int IsUninstallEntry(HKEY root, const char *path)
{
    return root == HKEY_LOCAL_MACHINE && SameTextNoCase(path, UNINSTALL_KEY);
}

static int UndoValue(const char *line)
{
    char rootName[8], path[REG_PATH_SIZE], name[REG_PATH_SIZE], had[4], what[FAILURE_MESSAGE_SIZE];
    static ValueData written, before, now;
    HKEY root, key;
    if (!LogField(line, 1, rootName, sizeof rootName) || !(root = LogRoot(rootName)) ||
        !LogField(line, 2, path, sizeof path) || !LogField(line, 3, name, sizeof name) ||
        !RecordedData(line, 4, &written) || !LogField(line, 6, had, sizeof had))
        return 1;   /* a record this program does not know: nothing to undo by it */
    before.there = 0;
    if (had[0] == '1' && !RecordedData(line, 7, &before))
        return 1;
    if (IsUninstallEntry(root, path))
        return 1;
    if (!OpenRegKey(root, path, &key) || !CurrentData(key, name, &now)) {
        CloseRegKey(key);
        return NoteKeyFailure(IDS_CANNOTREADKEY, root, path);
    }
    int done = 1;
    KeyAndName(root, path, name, what, sizeof what);
    int ours = SameData(&now, &written) || (NamesOwnFile(&now) && NamesOwnFile(&written)), binds = 0;
    if (ours && !BindsKeptClassKey(root, path, name, &now, &binds)) {
        CloseRegKey(key);
        return 0;
    }
    if (ours && binds)
        NoteLeft(what);
    else if (ours)
        done = before.there ? SetRegData(key, name, before.type, before.bytes, before.length)
                            : DeleteRegValue(key, name);
    else if (!SameData(&now, &before))
        NoteLeft(what);
    CloseRegKey(key);
    return done || NoteKeyFailure(IDS_CANNOTRESTOREKEY, root, path);
}

static int UndoKey(const char *line)
{
    char rootName[8], path[REG_PATH_SIZE], what[FAILURE_MESSAGE_SIZE];
    HKEY root;
    int left;
    if (!LogField(line, 1, rootName, sizeof rootName) || !(root = LogRoot(rootName)) ||
        !LogField(line, 2, path, sizeof path) || IsUninstallEntry(root, path))
        return 1;
    if (!DeleteRegKeyIfEmpty(root, path, &left))
        return 0;
    if (left) {
        KeyName(root, path, what, sizeof what);
        NoteLeft(what);
    }
    return 1;
}

/* Each record, last first, given to undo with its index and kind; 1 when every undo
   succeeded. */
static int WalkBack(int (*undo)(int index, const char *kind, const char *line))
{
    char line[LOG_LINE_SIZE], kind[16];
    int done = 1;
    for (int i = LineCount - 1; i >= 0; i--)
        if (LogLine(i, line, kind))
            done = undo(i, kind, line) && done;
    return done;
}

/* Values and keys (the uninstall entry excepted). */
static int UndoRegistryRecord(int, const char *kind, const char *line)
{
    if (!lstrcmpA(kind, LOG_VALUE))
        return UndoValue(line);
    return lstrcmpA(kind, LOG_KEY) || UndoKey(line);
}

/* The PLACED record that follows the FILE record at index for the same target, into
   line; 0 when the file never was put in place by that try. */
static int PlacedRecord(int index, const char *target, char *line)
{
    char kind[16], name[MAX_PATH];
    for (int i = index + 1; i < LineCount; i++)
        if (LogLine(i, line, kind) && (!lstrcmpA(kind, LOG_PLACED) || !lstrcmpA(kind, LOG_FILE)) &&
            LogField(line, 1, name, sizeof name) && SamePlace(name, target))
            return !lstrcmpA(kind, LOG_PLACED);
    return 0;
}

/* *as 1 when the file at target (there) is the one setup put there: as placed
   (placed_file.h), or, put in place without its record (the run ended between the
   two), one that was not there before or whose older one setup kept. 0, noted, when it
   cannot be read. */
static int IsAsSetupPlacedIt(int index, const char *target, int existed, int keptThere, int *as)
{
    char placed[LOG_LINE_SIZE];
    PlacedStamp stamp;
    *as = !existed || keptThere;
    if (!PlacedRecord(index, target, placed))
        return 1;
    if (!ReadPlacedFields(placed, &stamp)) {
        *as = 0;   /* a record this program cannot read vouches for nothing */
        return 1;
    }
    return IsFileAsPlaced(target, &stamp, as) || NoteFailure(IDS_CANNOTREAD, target);
}

static int UndoFile(int index, const char *line)
{
    char target[MAX_PATH], existed[4], keep[MAX_PATH];
    if (!LogField(line, 1, target, sizeof target) || !LogField(line, 2, existed, sizeof existed) ||
        !LogField(line, 3, keep, sizeof keep) || GoesLast(target))
        return 1;
    DWORD targetThere, keptThere = INVALID_FILE_ATTRIBUTES;
    if (!ToldAttributes(target, &targetThere) || (keep[0] && !ToldAttributes(keep, &keptThere)))
        return 0;
    if (targetThere == INVALID_FILE_ATTRIBUTES)   /* gone, or undone by a later record */
        return !keep[0] || keptThere == INVALID_FILE_ATTRIBUTES || PutOlderFileBack(target, keep);
    int as;
    if (!IsAsSetupPlacedIt(index, target, existed[0] == '1', keptThere != INVALID_FILE_ATTRIBUTES, &as))
        return 0;
    if (!as) {
        if (existed[0] != '1' || keep[0])
            NoteLeft(target);   /* changed since; an older file kept stays kept */
        return 1;
    }
    return keep[0] && keptThere != INVALID_FILE_ATTRIBUTES ? PutOlderFileBack(target, keep)
                                                            : RemoveFile(target);
}

/* A temporary file of setup's, by its name: one a run could not take away. */
static int UndoTemporary(const char *line)
{
    char path[MAX_PATH];
    return !LogField(line, 1, path, sizeof path) || RemoveFile(path);
}

static int UndoDirectory(const char *line)
{
    char dir[MAX_PATH];
    if (!LogField(line, 1, dir, sizeof dir))
        return 1;
    int left = 0;
    if (!RemoveEmptyDirectory(dir, &left))
        return 0;
    if (left)
        NoteLeft(dir);
    return 1;
}

/* Files and directories (REPLACED too: its DIR records). */
static int UndoFileRecord(int index, const char *kind, const char *line)
{
    if (!lstrcmpA(kind, LOG_FILE))
        return UndoFile(index, line);
    if (!lstrcmpA(kind, LOG_DIR))
        return UndoDirectory(line);
    return lstrcmpA(kind, LOG_TEMP) || UndoTemporary(line);
}

/* Each step does what it can even after one before it failed: the registry, system.ini,
   then the files, each last first. */
int UndoInstallLog(void)
{
    int done = WalkBack(UndoRegistryRecord);
    done = RestoreSystemIni(LoggedMouseLine, LoggedSetAside()) && done;
    return WalkBack(UndoFileRecord) && done;
}

int ForgetInstallLog(void)
{
    return RemoveInstallLog(SetupState.InstallDir, IDS_CANNOTDELETE);
}
