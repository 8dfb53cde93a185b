/* WININIT.INI holds "TARGET=SOURCE" lines; TARGET NUL deletes SOURCE. Several NUL
   lines share one key, so the section is always rewritten whole, every line already
   there kept in its order. A section that cannot be read whole is never written back,
   and every rewrite is read back from the disk: other programs' lines are not lost to
   a file another program holds open or to a cut read. */
#include <windows.h>
#include "wininit.h"
#include "path_names.h"
#include "bounded_text.h"
#include "profile_section.h"

#define SHORT_PATH_SIZE 128
#define LINE_SIZE (2 * SHORT_PATH_SIZE + 8)   /* one line of ours: two short paths */
#define KEY_SIZE 260

int WininitPath(char *path, int size)
{
    UINT length = GetWindowsDirectoryA(path, size);
    if (length == 0 || (int)length + 13 >= size)
        return 0;
    AppendText(path, size, "\\WININIT.INI");
    return 1;
}

static int NotThere(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

/* 0 when the file is there but cannot be opened (another program holds it): the
   profile functions would then answer an empty section. No FILE_SHARE_DELETE, which
   Windows 95 does not know. */
static int Readable(const char *ini)
{
    HANDLE file = CreateFileA(ini, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return NotThere(GetLastError());
    CloseHandle(file);
    return 1;
}

/* The [rename] section as the profile functions give it, with room bytes to spare
   (GlobalFree); 0 when it cannot be read whole. */
static char *ReadSection(const char *ini, DWORD room, DWORD *used)
{
    if (!Readable(ini))
        return 0;
    return ReadWholeSection(ini, "rename", room, used);
}

/* 1 when line would delete path (NUL=path) or replace it (path=SOURCE) at the next
   start, whether written long or short. */
static int PendsOn(const char *line, const char *path)
{
    int cut = 0;
    while (line[cut] && line[cut] != '=')
        cut++;
    if (!line[cut] || cut >= KEY_SIZE)
        return 0;
    char key[KEY_SIZE];
    CopyText(key, cut + 1, line);
    return SamePlace(SameTextNoCase(key, "NUL") ? line + cut + 1 : key, path);
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

/* The file as the disk holds it, NUL-terminated, its size in *size (GlobalFree). */
static char *ReadRaw(const char *ini, DWORD *size)
{
    HANDLE file = CreateFileA(ini, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD got = 0;
    *size = GetFileSize(file, 0);
    char *text = *size == INVALID_FILE_SIZE ? 0 :
                 (char *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, *size + 1);
    if (text && (!ReadFile(file, text, *size, &got, 0) || got != *size)) {
        GlobalFree(text);
        text = 0;
    }
    CloseHandle(file);
    return text;
}

/* Lists the lines of text's [rename] section into list as ReadSection lists them;
   each takes no more room there than its text and line end take in the file. */
static void ListRenameLines(const char *text, char *list)
{
    DWORD at = 0;
    int inside = 0;
    while (*text) {
        int length = 0;
        while (text[length] && text[length] != '\r' && text[length] != '\n')
            length++;
        if (text[0] == '[')
            inside = BeginsWithNoCase(text, "[rename]");
        else if (inside && length > 0) {
            CopyText(list + at, length + 1, text);
            at += length + 1;
        }
        for (text += length; *text == '\r' || *text == '\n'; text++)
            ;
    }
    list[at] = 0;
}

/* The [rename] lines of the file as the disk holds it (GlobalFree); 0 when it cannot
   be read. */
static char *SectionOnDisk(const char *ini)
{
    DWORD size;
    char *text = ReadRaw(ini, &size);
    if (!text)
        return 0;
    char *list = (char *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size + 2);
    if (list)
        ListRenameLines(text, list);
    GlobalFree(text);
    return list;
}

/* How many lines of the section on the disk are line or pend on path; -1 when the
   file cannot be read. */
static int CountOnDisk(const char *ini, const char *line, const char *path)
{
    char *list = SectionOnDisk(ini);
    if (!list)
        return -1;
    int count = CountLines(list, line, path);
    GlobalFree(list);
    return count;
}

/* lines as the whole [rename] section (none: the section goes), flushed to the disk. */
static int WriteSection(const char *ini, const char *lines)
{
    int written = lines[0] ? WritePrivateProfileSectionA("rename", lines, ini)
                           : WritePrivateProfileStringA("rename", 0, 0, ini);
    /* the profile cache to the disk; Wine answers 0 to this whatever it does, so the
       file read back is the check */
    WritePrivateProfileStringA(0, 0, 0, ini);
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

int CancelPendingAtRestart(const char *path)
{
    char ini[96];
    if (!WininitPath(ini, sizeof ini))
        return 0;
    if (GetFileAttributesA(ini) == INVALID_FILE_ATTRIBUTES)
        return NotThere(GetLastError());   /* the usual case: nothing is pending */
    DWORD used;
    char *lines = ReadSection(ini, 0, &used);
    if (!lines)
        return 0;
    int ok = CountLines(lines, 0, path) == 0 || RewriteWithout(ini, lines, used, path);
    GlobalFree(lines);
    return ok;
}

int ScheduleRenameAtRestart(const char *target, const char *source)
{
    char shortTarget[SHORT_PATH_SIZE], shortSource[SHORT_PATH_SIZE];
    if (!ShortPath(target, shortTarget, sizeof shortTarget) ||
        !ShortPath(source, shortSource, sizeof shortSource))
        return 0;
    return AddRenameLine(shortTarget, shortSource);
}

int ScheduleDeleteAtRestart(const char *path)
{
    char shortPath[SHORT_PATH_SIZE];
    if (!ShortPath(path, shortPath, sizeof shortPath))
        return 0;
    return AddRenameLine("NUL", shortPath);
}
