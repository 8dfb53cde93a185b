/* The record in the installed copy of the setup script: what the installation changed
   outside its own files, written before it is changed, so that the uninstaller can put
   it back without depending on anything else. */
#ifndef PRIOR_VALUES_H
#define PRIOR_VALUES_H

/* Sections of the record: "PS2" and "Serial" hold the device's prior values (named
   after the mouse type registered); SYSTEM_RECORD holds system.ini's mouse line as it
   was before setup replaced it, or an empty text when the first [386Enh] section had
   none; REPLACED_RECORD holds, for each file outside the destination that a file of
   the package replaced, its path as key and where the older file is kept. */
#define SYSTEM_RECORD "SystemIni"
#define MOUSE_LINE_KEY "MouseLine"
#define REPLACED_RECORD "Replaced"

#define RECORD_VALUE_SIZE 256
#define RECORD_PATH_SIZE 272   /* InstallDir (255 at most) and "\SETUP.INF" */

/* 1 when the record could be read: *recorded 1 and the recorded text in value
   (RECORD_VALUE_SIZE bytes) when it holds the key, also with an empty text (which
   stands for a value that was absent), or *recorded 0 and an empty text when it was
   never recorded; 0 when the record cannot be read. */
int ReadRecordedValue(const char *section, const char *key, char *value, int *recorded);

/* From on 1 to on 0 the record is read from the disk once and kept until this program
   writes it: for a run that asks it for every file and is its only writer. */
void RememberRecord(int on);

/* Writes the value unless the record already holds the key: the first recorded wins,
   an empty one (an absence) too. 1 when the record holds the key afterwards. */
int RecordPriorValue(const char *section, const char *key, const char *value);

/* From now on nothing is recorded, and RecordPriorValue answers 1: for the driver-only
   mode on a medium that cannot be written, with no installation whose uninstaller
   could put anything back. */
void RecordNowhere(void);

/* The path of the record's SETUP.INF, InstallDir's (SetupDir's while
   RecordBesideProgram), in size (RECORD_PATH_SIZE) bytes. */
void InstalledScriptPath(char *path, int size);

/* The record could not be read or written: noted under textId, naming the installed
   SETUP.INF; 0. */
int NoteRecordFailure(unsigned int textId);

/* A fresh copy of the script replaces the installed one whole: the record's sections
   are read from it before (0 when one cannot be read whole) and written into the copy
   after (0 when one cannot be written), so that nothing recorded is lost. */
int HoldRecord(void);
int PutRecordBack(void);

#endif
