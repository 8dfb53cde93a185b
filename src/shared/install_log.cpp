#include <windows.h>
#include "install_log.h"
#include "log_lines.h"
#include "ini_file.h"
#include "path_text.h"
#include "path_names.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "failure_note.h"

static HANDLE Copies[2] = { INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE };
static char CopyPaths[2][MAX_PATH];

static const struct {
    HKEY root;
    const char *name;
} Roots[] = { { HKEY_LOCAL_MACHINE, "HKLM" }, { HKEY_CLASSES_ROOT, "HKCR" },
              { HKEY_CURRENT_USER, "HKCU" }, { HKEY_DYN_DATA, "HKDD" } };

const char *LogRootName(HKEY root)
{
    for (unsigned i = 0; i < sizeof Roots / sizeof Roots[0]; i++)
        if (Roots[i].root == root)
            return Roots[i].name;
    return "";
}

HKEY LogRoot(const char *name)
{
    for (unsigned i = 0; i < sizeof Roots / sizeof Roots[0]; i++)
        if (!lstrcmpA(Roots[i].name, name))
            return Roots[i].root;
    return 0;
}

/* The paths of the two copies for the installation in dir (MAX_PATH bytes each); 0
   when either does not fit. */
static int InstallLogPaths(const char *dir, char *inDestination, char *inWindows)
{
    return JoinPath(inDestination, MAX_PATH, dir, INSTALL_LOG_NAME) &&
           JoinPath(inWindows, MAX_PATH, SetupState.WindowsDir, INSTALL_LOG_NAME);
}

/* Both bytes of text to one copy; 0, noted, when the disk did not take them whole. */
static int WriteCopy(int copy, const char *text, DWORD length, unsigned int textId)
{
    DWORD written;
    if (!WriteFile(Copies[copy], text, length, &written, 0) || written != length)
        return NoteFailure(textId, CopyPaths[copy]);
    return 1;
}

int WriteLogRecord(const char *line, unsigned int textId)
{
    char record[LOG_LINE_SIZE + 2];
    CopyText(record, LOG_LINE_SIZE, line);
    AppendText(record, sizeof record, "\r\n");   /* one write: the line with its end */
    for (int copy = 0; copy < 2; copy++)
        if (!WriteCopy(copy, record, (DWORD)lstrlenA(record), textId))
            return 0;
    return 1;
}

int FlushInstallLog(unsigned int textId)
{
    for (int copy = 0; copy < 2; copy++)
        if (!FlushFileBuffers(Copies[copy]))
            return NoteFailure(textId, CopyPaths[copy]);
    return 1;
}

void CloseInstallLog(void)
{
    for (int copy = 0; copy < 2; copy++) {
        if (Copies[copy] != INVALID_HANDLE_VALUE)
            CloseHandle(Copies[copy]);   /* flushed after each phase: what matters is on
                                            the disk */
        Copies[copy] = INVALID_HANDLE_VALUE;
    }
}

/* How many bytes of text the whole lines take. */
static int WholeLines(const ProfileText *t)
{
    int n = t->length;
    while (n > 0 && t->text[n - 1] != '\n')
        n--;
    return n;
}

int StartInstallLog(const char *dir, const ProfileText *earlier, unsigned int textId)
{
    char header[LOG_LINE_SIZE] = "";
    if (!InstallLogPaths(dir, CopyPaths[0], CopyPaths[1]))
        return NoteFailure(textId, dir);
    for (int copy = 0; copy < 2; copy++) {
        Copies[copy] = CreateFileA(CopyPaths[copy], GENERIC_WRITE, FILE_SHARE_READ, 0,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
        if (Copies[copy] == INVALID_HANDLE_VALUE) {
            NoteFailure(textId, CopyPaths[copy]);
            CloseInstallLog();
            return 0;
        }
    }
    int written = 1;
    if (earlier && earlier->length) {   /* carried on: its whole lines, its header first */
        for (int copy = 0; copy < 2 && written; copy++)
            written = WriteCopy(copy, earlier->text, (DWORD)WholeLines(earlier), textId);
    } else {
        AddLogField(header, sizeof header, LOG_HEADER);
        AddLogField(header, sizeof header, dir);
        written = WriteLogRecord(header, textId);
    }
    return written && FlushInstallLog(textId);
}

int RemoveInstallLog(const char *dir, unsigned int textId)
{
    char paths[2][MAX_PATH];
    if (!InstallLogPaths(dir, paths[0], paths[1]))
        return 1;   /* none could have been written */
    for (int copy = 0; copy < 2; copy++) {
        DWORD attributes;
        if (!DeleteFileA(paths[copy]) &&
            (!ToldAttributes(paths[copy], &attributes) || attributes != INVALID_FILE_ATTRIBUTES))
            return NoteFailure(textId, paths[copy]);
    }
    return 1;
}

/* The directory a log's first line names into dir (MAX_PATH bytes); 0 for a text
   that does not begin with a log's first line. */
static int HeaderDirectory(const ProfileText *log, char *dir)
{
    char line[LOG_LINE_SIZE], kind[32];
    int at = 0;
    return NextLogLine(log->text, log->length, &at, line, sizeof line) > 0 &&
           LogField(line, 0, kind, sizeof kind) && !lstrcmpA(kind, LOG_HEADER) &&
           LogField(line, 1, dir, MAX_PATH);
}

/* 1 when the two copies agree but for their last whole line (the one a power cut
   between the two writes leaves in one copy only). */
static int CopiesAgree(const ProfileText *a, const ProfileText *b)
{
    int lengthA = WholeLines(a), lengthB = WholeLines(b), common = 0;
    while (common < lengthA && common < lengthB && a->text[common] == b->text[common])
        common++;
    int linesBeyond = 0;
    for (int i = common; i < lengthA; i++)
        linesBeyond += a->text[i] == '\n';
    for (int i = common; i < lengthB; i++)
        linesBeyond += b->text[i] == '\n';
    return linesBeyond <= 1;
}

int ReadInstallLog(const char *dir, ProfileText *log, int *found, unsigned int textId)
{
    char paths[2][MAX_PATH], named[MAX_PATH];
    ProfileText copies[2];
    *found = 0;
    NoIniText(log);
    if (!InstallLogPaths(dir, paths[0], paths[1]))
        return 1;   /* no copy could have been written there */
    for (int copy = 0; copy < 2; copy++)
        if (!ReadIniFile(paths[copy], &copies[copy])) {
            if (copy)
                FreeIniFile(&copies[0]);
            return NoteFailure(textId, paths[copy]);
        }
    /* each copy counts only for this installation: one copied along with the
       directory, or the Windows directory's of another, is not its log */
    int windows = copies[1].length && HeaderDirectory(&copies[1], named) && SamePlace(named, dir);
    int destination = copies[0].length && HeaderDirectory(&copies[0], named) && SamePlace(named, dir);
    int agree = !destination || !windows || CopiesAgree(&copies[0], &copies[1]);
    int keep = destination ? 0 : 1;   /* the longer of two that agree is as good */
    if (destination && windows && WholeLines(&copies[1]) > WholeLines(&copies[0]))
        keep = 1;
    FreeIniFile(&copies[1 - keep]);
    if (!agree) {
        FreeIniFile(&copies[keep]);
        SetLastError(ERROR_INVALID_DATA);
        return NoteFailure(textId, paths[0]);
    }
    if (!destination && !windows) {
        FreeIniFile(&copies[keep]);   /* none, or another installation's */
        return 1;
    }
    *log = copies[keep];
    *found = 1;
    return 1;
}
