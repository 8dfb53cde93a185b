/* The controller: start, run modes, refusals, the end of a run. */
#ifndef CONTROLLER_H
#define CONTROLLER_H

#include <windows.h>
#include "../shared/product_keys.h"
#include "../shared/script_loader.h"

/* 1 when the Run key's ZennoMouse value names KXMAIN.EXE. */
int IsMouseAppRegistered(void);

/* 1 when the command-line tail selects DriverOnlyMode ("-u" and anything after it). */
int IsDriverOnlyCommand(const char *tail);

/* 1 when the command-line tail selects the unattended run ("-s", alone or followed by
   blanks and its options). */
int IsSilentCommand(const char *tail);

/* The unattended run of the command-line tail; its exit code. */
enum SilentExit {
    SILENT_INSTALLED = 0,   /* a restart makes the driver active */
    SILENT_REFUSED = 1,     /* another mouse program, or Windows NT */
    SILENT_FAILED = 2,      /* left as after the wizard's Cancel */
    SILENT_USAGE = 3,       /* an unknown option, a destination the page would refuse */
    SILENT_NO_SCRIPT = 4    /* the setup script cannot be read */
};
int RunSilentMode(const char *tail);

#endif
