/* The checks a destination directory passes before anything is copied into it, for
   the destination page and the unattended run alike. */
#ifndef DESTINATION_H
#define DESTINATION_H

/* The longest destination text either takes, without its terminating zero. */
#define DESTINATION_LENGTH 79

/* 1 when path names an existing directory (a plain file gives 0). */
int IsExistingDirectory(const char *path);

/* 0 when dir, a text of length characters, has a destination's form: a drive, a root
   and a name short enough for every file of the package below it; otherwise the text
   id the destination page shows (IDS_CANNOTCREATE). */
unsigned int DestinationFormFault(const char *dir, int length);

/* Checks the free space on dir's drive and makes dir unless it existed; 0 when it is
   ready, otherwise the text id the page shows (IDS_NOSPACE, IDS_CANNOTCREATE). */
unsigned int PrepareDestination(const char *dir, int existed);

#endif
