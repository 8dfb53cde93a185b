/* What a run could not do. Both programs follow one rule: every step that changes the
   machine checks what the platform answers; a step that fails notes here what it could
   not do (a string-table text with a %s, and the registry key or file it names) and
   returns 0; its caller decides what the user is told (SETUP.EXE: a message box
   naming what failed, then the run ends as after a Cancel; UNINSTAL.EXE: its failure
   message and exit code 2). Steps are ordered so that the way back still works at any
   point: the uninstall entry, or running setup again. The first failure of a run is
   kept for the message; every one is counted. */
#ifndef FAILURE_NOTE_H
#define FAILURE_NOTE_H

#include <windows.h>

/* Notes a failure naming one thing (the text's first %s) and returns 0. */
int NoteFailure(UINT textId, const char *name);

/* The same naming two things (the text's first and second %s). */
int NoteFailureOfTwo(UINT textId, const char *first, const char *second);

/* A registry key, named with its root: "HKEY_LOCAL_MACHINE\..."; returns 0. */
int NoteKeyFailure(UINT textId, HKEY root, const char *path);

/* How many failures were noted in this run. */
int FailureCount(void);

/* The first failure's text with its names in place (1024 bytes at most); empty when
   nothing failed. */
#define FAILURE_MESSAGE_SIZE 1100
void FailureMessage(char *text);

#endif
