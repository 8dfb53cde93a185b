/* What a run could not do: the one way a failure travels in both programs.
   The rule: every step that changes the machine (or reads what decides a change)
   checks what the platform answers. A step that fails notes here what it could not do
   (a string-table text with a %s, the file, registry key or section it names, and the
   platform's error number) and returns 0; a step that succeeds returns 1. Its caller
   decides what the user is told: SETUP.EXE a message box naming what failed, then the
   run ends as after a Cancel (the unattended run: its report and exit code 2);
   UNINSTAL.EXE its failure message and exit code 2. Steps are ordered so that the way
   back still works at any point: the uninstall entry, or running setup again. The
   first failure of a run is kept for the message; every one is counted. */
#ifndef FAILURE_NOTE_H
#define FAILURE_NOTE_H

#include <windows.h>

/* Notes a failure naming one thing (the text's first %s) and returns 0. The error
   number is the platform's last error at this moment. */
int NoteFailure(UINT textId, const char *name);

/* The same naming two things: the second is the text's second %s, or, for a text
   with fewer, a line of its own after it. */
int NoteFailureOfTwo(UINT textId, const char *first, const char *second);

/* A registry key, named with its root: "HKEY_LOCAL_MACHINE\..."; returns 0. */
int NoteKeyFailure(UINT textId, HKEY root, const char *path);

/* The name of a key with its root ("HKEY_LOCAL_MACHINE\...") in name (size bytes). */
void KeyName(HKEY root, const char *path, char *name, int size);

/* How many failures were noted in this run. */
int FailureCount(void);

/* The first failure's text with its names in place (1024 bytes at most); empty when
   nothing failed. */
#define FAILURE_MESSAGE_SIZE 1100
void FailureMessage(char *text);

/* The same for a report line: every name, and the error number when there is one
   (FAILURE_LINE_SIZE bytes). */
#define FAILURE_LINE_SIZE (FAILURE_MESSAGE_SIZE + 600)
void FailureLine(char *text);

/* The platform's error number noted with the first failure. */
DWORD FailureError(void);

/* The failure was asked about and the user chose to try again, or was told and the
   step may be taken anew: the run has no failure any more. */
void ForgetFailures(void);

#endif
