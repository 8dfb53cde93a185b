/* The way back for an installation made before the install log, by its SETUP.INF
   record; the uninstaller's entry takes it when no log names the installation. */
#ifndef EARLIER_REMOVAL_H
#define EARLIER_REMOVAL_H

/* The whole way back: 1, or 0 with what failed noted (failure_note.h). */
int RemoveEarlierInstallation(void);

#endif
