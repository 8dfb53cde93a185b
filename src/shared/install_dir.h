/* InstallDir, the directory the package is installed in, and its one writer. */
#ifndef INSTALL_DIR_H
#define INSTALL_DIR_H

/* The longest destination taken, without its terminating zero. */
#define DESTINATION_LENGTH 79

/* text (length characters, as typed, given or found) as InstallDir: 1 and InstallDir
   in its one form when it has a destination's form (a drive, a root, a name of
   DESTINATION_LENGTH characters at most, and with filesBelow one short enough for every
   file of the package below it); otherwise 0, noted with the text as given
   (IDS_CANNOTCREATE, the destination page's text), and InstallDir holding the text as
   given, for the page to show. */
int TakeDestination(const char *text, int length, int filesBelow);

/* The same with filesBelow 1: a destination the package's files are copied to (the
   page, the unattended run), or the uninstaller's own directory, which setup took so. */
int TakeCopyDestination(const char *text, int length);

#endif
