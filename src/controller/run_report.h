/* The unattended run's report (-l PATH): a plain text a deployer can search, appended
   to the file. Its first line is "RUN" and the command line; then one line per event,
   each beginning with its keyword: DIR (a directory made), FILE (a file put in place),
   KEY (a registry key written), INI (the system.ini change), ASKED (a question the
   wizard would have asked, with the answer the run took), FAILED (what failed, which
   file or key, the platform's error number); and EXIT with the exit code last. A line
   that cannot be written changes neither the installation nor the exit code. */
#ifndef RUN_REPORT_H
#define RUN_REPORT_H

#include "../install/run_observer.h"

/* Opens the report at path for appending and writes its first line; 0 when it cannot
   be opened. Without it the lines below write nothing. */
int OpenRunReport(const char *path);

/* A line of its own: the keyword, a blank and the text on one line. */
void ReportLine(const char *keyword, const char *text);

/* The run's failure noted (failure_note.h), as a FAILED line. */
void ReportFailure(void);

/* The EXIT line, and the report closed; the exit code, for the caller to return. */
int CloseRunReport(int exitCode);

/* The observer that writes the run's changes and questions (each answered Cancel). */
extern const RunObserver ReportFace;

#endif
