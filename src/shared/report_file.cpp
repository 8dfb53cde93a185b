#include <windows.h>
#include "report_file.h"
#include "bounded_text.h"
#include "failure_note.h"

#define LINE_SIZE (FAILURE_LINE_SIZE + 16)

static HANDLE Report = INVALID_HANDLE_VALUE;

int OpenRunReport(const char *path)
{
    Report = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, 0, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, 0);
    if (Report == INVALID_HANDLE_VALUE)
        return 0;
    if (SetFilePointer(Report, 0, 0, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        CloseHandle(Report);   /* only opened: nothing of it to lose */
        Report = INVALID_HANDLE_VALUE;
        return 0;
    }
    ReportLine("RUN", GetCommandLineA());
    return 1;
}

void ReportLine(const char *keyword, const char *text)
{
    if (Report == INVALID_HANDLE_VALUE)
        return;
    char line[LINE_SIZE];
    CopyText(line, sizeof line, keyword);
    AppendText(line, sizeof line, " ");
    int at = lstrlenA(line);
    /* a text of several lines on one: each line end becomes a blank, once */
    for (const char *p = text; *p && at < (int)sizeof line - 3; p++)
        if (*p != '\r' && *p != '\n')
            line[at++] = *p;
        else if (at > 0 && line[at - 1] != ' ')
            line[at++] = ' ';
    line[at++] = '\r';
    line[at++] = '\n';
    DWORD written;
    /* a line that cannot be written changes nothing of the run: it is left out */
    WriteFile(Report, line, (DWORD)at, &written, 0);
}

void ReportFailure(void)
{
    char text[FAILURE_LINE_SIZE];
    FailureLine(text);
    ReportLine("FAILED", text);
}

int CloseRunReport(int exitCode)
{
    if (Report == INVALID_HANDLE_VALUE)
        return exitCode;
    char code[16];
    wsprintfA(code, "%d", exitCode);
    ReportLine("EXIT", code);
    CloseHandle(Report);   /* a close that fails leaves lines out: the run is done */
    Report = INVALID_HANDLE_VALUE;
    return exitCode;
}

