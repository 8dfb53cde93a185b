/* A run's report (-l PATH) in both programs: a plain text a deployer can search,
   appended to the file, one line per event, each beginning with its keyword; "RUN"
   and the command line first, "EXIT" and the exit code last. A line that cannot be
   written changes neither the run nor its exit code. */
#ifndef REPORT_FILE_H
#define REPORT_FILE_H

/* Opens the report at path for appending and writes its first line; 0 when it cannot
   be opened. Without it the lines below write nothing. */
int OpenRunReport(const char *path);

/* A line of its own: the keyword, a blank and the text on one line. */
void ReportLine(const char *keyword, const char *text);

/* The run's failure noted (failure_note.h), as a FAILED line. */
void ReportFailure(void);

/* The EXIT line, and the report closed; the exit code, for the caller to return. */
int CloseRunReport(int exitCode);

#endif
