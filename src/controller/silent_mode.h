/* The unattended run: SETUP.EXE -s and its options. */
#ifndef SILENT_MODE_H
#define SILENT_MODE_H

/* Its exit codes. */
enum SilentExit {
    SILENT_INSTALLED = 0,   /* a restart makes the driver active */
    SILENT_REFUSED = 1,     /* another mouse program, or Windows NT */
    SILENT_FAILED = 2,      /* left as after the wizard's Cancel */
    SILENT_USAGE = 3,       /* an unknown option, a destination the page would refuse, a
                               report that cannot be opened */
    SILENT_NO_SCRIPT = 4    /* the setup script cannot be read */
};

/* The unattended run of the command-line tail (which begins "-s"); its exit code. */
int RunSilentMode(const char *tail);

#endif
