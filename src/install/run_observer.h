/* Whoever watches setup's work: the wizard's copy page, or the unattended run's report.
   The engine (the copy, the registration, the system.ini patch) knows no window; it
   tells the observer of the run what happens and asks it what the user says. An
   observer leaves out what it has no use for (a null member). */
#ifndef RUN_OBSERVER_H
#define RUN_OBSERVER_H

#include <windows.h>
#include "../shared/file_table.h"

/* What setup has changed on the machine. */
enum ChangeKind { CHANGE_DIR, CHANGE_FILE, CHANGE_KEY, CHANGE_INI };

struct RunObserver {
    void (*diskBegins)(int disk);                   /* 0 for Disk1 */
    void (*fileBegins)(const FileEntry *e);         /* before its source is opened */
    void (*progress)(int entry, int count);         /* the share of the disk done once
                                                       this entry is */
    int (*ask)(const char *question);               /* Retry or Cancel: 1 for Retry */
    int (*cancelled)(void);                         /* 1 once the user pressed Cancel */
    void (*registering)(void);                      /* the files are done */
    void (*changed)(int kind, const char *name);    /* a directory made, a file put in
                                                       place, a key written, system.ini */
};

/* The observer of this run; 0 (the start value): nobody watches. */
void WatchRun(const RunObserver *observer);

void TellDiskBegins(int disk);
void TellFileBegins(const FileEntry *e);
void TellProgress(int entry, int count);
/* The question with what failed; 1 when the user chose Retry. Nobody to ask: Cancel. */
int AskRetry(const char *question);
/* 1 when the user has pressed Cancel. */
int CancelPressed(void);
void TellRegistering(void);
void TellChange(int kind, const char *name);
/* A registry key written: CHANGE_KEY with the key named with its root. */
void TellKeyWritten(HKEY root, const char *path);

#endif
