/* The controller: start, run modes, refusals, the end of a run. */
#ifndef CONTROLLER_H
#define CONTROLLER_H

#include <windows.h>

/* Window title and Run value name of the mouse application. */
#define MOUSE_APP_TITLE "ZennoMouse"

/* 1 when the Run key's ZennoMouse value names KXMAIN.EXE. */
int IsMouseAppRegistered(void);

/* Frees the block that holds the file table. */
void ReleaseFileTable(void);

/* 1 when the command-line tail selects DriverOnlyMode ("-u" and anything after it). */
int IsDriverOnlyCommand(const char *tail);

#endif
