/* The way back for an installation made before the install log, by its SETUP.INF
   record; the uninstaller's entry takes it when no log names the installation. */
#ifndef EARLIER_REMOVAL_H
#define EARLIER_REMOVAL_H

/* The whole way back: 1, or 0 with what failed noted (failure_note.h). */
int RemoveEarlierInstallation(void);

/* Its parts, which nothing else calls: each does what it can and returns 1 when
   nothing failed. */
int FindRegisteredInstallation(void);   /* sets OwnsSharedState */
int RemoveProductRegistration(void);    /* the page handler and Run value naming this directory */
int RestoreMouseDevice(void);           /* the recorded values, the own node */

#endif
