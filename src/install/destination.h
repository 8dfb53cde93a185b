/* The checks a destination directory passes before anything is copied into it, for
   the destination page and the unattended run alike, once TakeDestination
   (install_dir.h) has taken its text. */
#ifndef DESTINATION_H
#define DESTINATION_H

/* 1 when path names an existing directory (a plain file gives 0). */
int IsExistingDirectory(const char *path);

/* Checks the free space on dir's drive and makes dir unless it existed; 1 when it is
   ready, otherwise 0, noted with the text the page shows (IDS_NOSPACE,
   IDS_CANNOTCREATE). */
int PrepareDestination(const char *dir, int existed);

#endif
