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
#include "../shared/report_file.h"

/* The observer that writes the run's changes and questions (each answered Cancel). */
extern const RunObserver ReportFace;

#endif
