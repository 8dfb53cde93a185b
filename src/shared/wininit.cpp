/* WININIT.INI holds "TARGET=SOURCE" lines; TARGET NUL deletes SOURCE. Several NUL
   lines share one key, so the section is always rewritten whole, every line already
   there kept in its order. The section is read from the file itself, every step
   checked; one that cannot be read is never written back, and every rewrite is read
   back from the disk: other programs' lines are not lost to a file another program
   holds open or to a failed read. */
#include <windows.h>
#include "wininit.h"
#include "path_names.h"
#include "path_text.h"
#include "bounded_text.h"
#include "ini_file.h"

#define SHORT_PATH_SIZE 128
#define LINE_SIZE (2 * SHORT_PATH_SIZE + 8)   /* one line of ours: two short paths */
#define KEY_SIZE 260

int IsInUseError(unsigned long error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

int WininitPath(char *path, int size)
{
    UINT length = GetWindowsDirectoryA(path, size);
    return length > 0 && (int)length < size && JoinPath(path, size, path, "WININIT.INI");
}

/* The [rename] section as listed from the file on the disk, with room bytes to spare
   after it (GlobalFree); 0 when the file is there and cannot be read whole. */
static char *ReadSection(const char *ini, DWORD room, DWORD *used)
{
    ProfileText file;
    if (!ReadIniFile(ini, &file))
        return 0;
    *used = (DWORD)ProfileSection(&file, "rename", 0, 0) - 1;   /* without the empty line */
    char *lines = (char *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, *used + 1 + room);
    if (lines)
        ProfileSection(&file, "rename", lines, (int)(*used + 1));
    FreeIniFile(&file);
    return lines;
}

/* What line would delete (NUL=NAME) or replace (NAME=SOURCE) at the next start, into
   name (KEY_SIZE bytes); 0 for a line that names nothing so. */
static int PendingName(const char *line, char *name)
{
    int cut = 0;
    while (line[cut] && line[cut] != '=')
        cut++;
    if (!line[cut] || cut >= KEY_SIZE)
        return 0;
    CopyText(name, cut + 1, line);
    if (!SameTextNoCase(name, "NUL"))
        return 1;
    if (lstrlenA(line + cut + 1) >= KEY_SIZE)
        return 0;
    CopyText(name, KEY_SIZE, line + cut + 1);
    return 1;
}

/* 1 when line would delete path or replace it at the next start, whether written long
   or short. */
static int PendsOn(const char *line, const char *path)
{
    char name[KEY_SIZE];
    return PendingName(line, name) && SamePlace(name, path);
}

/* How many lines of the list are line (when given) or pend on path (when given). */
static int CountLines(const char *list, const char *line, const char *path)
{
    int count = 0;
    for (; *list; list += lstrlenA(list) + 1)
        if ((line && SameTextNoCase(list, line)) || (path && PendsOn(list, path)))
            count++;
    return count;
}

/* How many lines of the section on the disk are line or pend on path; -1 when the
   file cannot be read. */
static int CountOnDisk(const char *ini, const char *line, const char *path)
{
    DWORD used;
    char *list = ReadSection(ini, 0, &used);
    if (!list)
        return -1;
    int count = CountLines(list, line, path);
    GlobalFree(list);
    return count;
}

/* While a run looks up many files (the copy), the section is read once and what its
   lines pend on kept in both forms of each place: a look-up needs no disk, and asks the
   system for its own path's short form alone. Every rewrite here drops it. */
static int Remembering;
static char *Remembered;   /* the places' forms (FormsOfList), or 0 when not read yet */
static int RememberedUsed;

void RememberWininit(int on)
{
    Remembering = on;
    if (Remembered)
        GlobalFree(Remembered);
    Remembered = 0;
}

/* The names the lines of list pend on, each ended by a null, over list itself (a name
   is never longer than its line); their length in all, and *count of them. */
static int PendingNames(char *list, int *count)
{
    int at = 0;
    char name[KEY_SIZE];
    *count = 0;
    for (int line = 0, next; list[line]; line = next) {
        next = line + lstrlenA(list + line) + 1;   /* before the name may be written over it */
        if (PendingName(list + line, name)) {
            CopyText(list + at, next - at, name);   /* at never passes line */
            at += lstrlenA(name) + 1;
            (*count)++;
        }
    }
    return at;
}

/* What the section on the disk pends on, as Remembered; 0 when it cannot be read. */
static int RememberPending(const char *ini)
{
    DWORD used;
    int count;
    char *lines = ReadSection(ini, 0, &used);
    if (!lines)
        return 0;
    int length = PendingNames(lines, &count);
    int size = 2 * KEY_SIZE * count + 1;   /* each name's two forms */
    Remembered = (char *)GlobalAlloc(GMEM_FIXED, size);
    int ok = Remembered && FormsOfList(lines, length, Remembered, size, &RememberedUsed);
    GlobalFree(lines);
    if (!ok)
        RememberWininit(Remembering);
    return ok;
}

/* How many lines of the section pend on path (one at most, from what is remembered,
   when a run remembers it); -1 when the file cannot be read. */
static int CountPending(const char *ini, const char *path)
{
    if (!Remembering)
        return CountOnDisk(ini, 0, path);
    if (!Remembered && !RememberPending(ini))
        return -1;
    return PlaceAmongForms(Remembered, RememberedUsed, path);
}

/* lines as the whole [rename] section (none: the section goes), flushed to the disk. */
static int WriteSection(const char *ini, const char *lines)
{
    RememberWininit(Remembering);   /* what is remembered is old from now on */
    int written = lines[0] ? WritePrivateProfileSectionA("rename", lines, ini)
                           : WritePrivateProfileStringA("rename", 0, 0, ini);
    /* the profile cache to the disk; Wine answers 0 to this whatever it does, so the
       file read back is the check */
    FlushProfileCache(ini);
    return written != 0;
}

/* Appends "key=value" to the [rename] section, after every line already there. */
static int AddRenameLine(const char *key, const char *value)
{
    char ini[96], line[LINE_SIZE];
    CopyText(line, sizeof line, key);
    AppendText(line, sizeof line, "=");
    AppendText(line, sizeof line, value);
    DWORD used, room = (DWORD)lstrlenA(line) + 2;
    if (!WininitPath(ini, sizeof ini))
        return 0;
    char *lines = ReadSection(ini, room, &used);
    if (!lines)
        return 0;
    CopyText(lines + used, (int)room, line);   /* over the empty line that ended the list */
    lines[used + room - 1] = 0;                 /* which now follows it */
    int ok = WriteSection(ini, lines) && CountOnDisk(ini, line, 0) == CountLines(lines, line, 0);
    GlobalFree(lines);
    return ok;
}

/* Copies the lines of list that do not pend on path into kept, as big as list. */
static void LeaveOut(const char *list, char *kept, DWORD size, const char *path)
{
    DWORD at = 0;
    for (; *list; list += lstrlenA(list) + 1) {
        if (PendsOn(list, path))
            continue;
        CopyText(kept + at, (int)(size - at), list);
        at += lstrlenA(list) + 1;
    }
    kept[at] = 0;
}

/* Writes the used bytes of lines back without those pending on path; 1 when the disk
   shows none of them left. */
static int RewriteWithout(const char *ini, const char *lines, DWORD used, const char *path)
{
    char *kept = (char *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, used + 2);
    if (!kept)
        return 0;
    LeaveOut(lines, kept, used + 2, path);
    int ok = WriteSection(ini, kept) && CountOnDisk(ini, 0, path) == 0;
    GlobalFree(kept);
    return ok;
}

/* The entries pending on path taken out of the file on the disk. */
static int CancelOnDisk(const char *ini, const char *path)
{
    DWORD used;
    char *lines = ReadSection(ini, 0, &used);
    if (!lines)
        return 0;
    int ok = CountLines(lines, 0, path) == 0 || RewriteWithout(ini, lines, used, path);
    GlobalFree(lines);
    return ok;
}

int CancelPendingAtRestart(const char *path)
{
    char ini[96];
    if (!WininitPath(ini, sizeof ini))
        return 0;
    if (Remembering)
        return CountPending(ini, path) == 0 || CancelOnDisk(ini, path);
    DWORD attributes;
    if (!PathAttributes(ini, &attributes))
        return 0;
    /* the usual case: there is none */
    return attributes == INVALID_FILE_ATTRIBUTES || CancelOnDisk(ini, path);
}

int IsPendingAtRestart(const char *path, int *pending)
{
    char ini[96];
    *pending = 0;
    if (!WininitPath(ini, sizeof ini))
        return 0;
    int count = CountPending(ini, path);
    *pending = count > 0;
    return count >= 0;
}

void DeleteEmptyWininit(void)
{
    char ini[96];
    ProfileText file;
    if (!WininitPath(ini, sizeof ini) || !ReadIniFile(ini, &file))
        return;
    int blank = 1;
    for (int i = 0; i < file.length; i++)
        blank &= IsProfileBlank(file.text[i]);
    FreeIniFile(&file);
    if (blank)
        DeleteFileA(ini);   /* should it stay, the next start finds nothing to do in it */
}

int ScheduleRenameAtRestart(const char *target, const char *source)
{
    char shortTarget[SHORT_PATH_SIZE], shortSource[SHORT_PATH_SIZE];
    if (!ShortPath(target, shortTarget, sizeof shortTarget) ||
        !ShortPath(source, shortSource, sizeof shortSource))
        return 0;
    if (!OnOneDrive(shortTarget, shortSource)) {
        SetLastError(ERROR_NOT_SAME_DEVICE);   /* WININIT.EXE renames within a drive only */
        return 0;
    }
    return AddRenameLine(shortTarget, shortSource);
}

int ScheduleDeleteAtRestart(const char *path)
{
    char shortPath[SHORT_PATH_SIZE];
    if (!ShortPath(path, shortPath, sizeof shortPath))
        return 0;
    return AddRenameLine("NUL", shortPath);
}
