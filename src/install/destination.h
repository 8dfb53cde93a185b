/* The checks a destination directory passes before anything is copied into it, for
   the destination page and the unattended run alike. */
#ifndef DESTINATION_H
#define DESTINATION_H

/* The longest destination text either takes, without its terminating zero. */
#define DESTINATION_LENGTH 79

/* 1 when path names an existing directory (a plain file gives 0). */
int IsExistingDirectory(const char *path);

/* text (length characters, as typed or given) as the destination: 1 and InstallDir in
   its one form when it has a destination's form (a drive, a root, and a name short
   enough for every file of the package below it); otherwise 0, noted with the text the
   destination page shows (IDS_CANNOTCREATE), and InstallDir holding text as given. */
int TakeDestination(const char *text, int length);

/* Checks the free space on dir's drive and makes dir unless it existed; 1 when it is
   ready, otherwise 0, noted with the text the page shows (IDS_NOSPACE,
   IDS_CANNOTCREATE). */
int PrepareDestination(const char *dir, int existed);

#endif
