#include "run_observer.h"
#include "../shared/failure_note.h"

static const RunObserver *Observer;

void WatchRun(const RunObserver *observer)
{
    Observer = observer;
}

void TellDiskBegins(int disk)
{
    if (Observer && Observer->diskBegins)
        Observer->diskBegins(disk);
}

void TellFileBegins(const FileEntry *e)
{
    if (Observer && Observer->fileBegins)
        Observer->fileBegins(e);
}

void TellProgress(int entry, int count)
{
    if (Observer && Observer->progress)
        Observer->progress(entry, count);
}

int AskRetry(const char *question)
{
    return Observer && Observer->ask && Observer->ask(question);
}

int CancelPressed(void)
{
    return Observer && Observer->cancelled && Observer->cancelled();
}

void TellRegistering(void)
{
    if (Observer && Observer->registering)
        Observer->registering();
}

void TellChange(int kind, const char *name)
{
    if (Observer && Observer->changed)
        Observer->changed(kind, name);
}

void TellKeyWritten(HKEY root, const char *path)
{
    char name[300];
    KeyName(root, path, name, sizeof name);
    TellChange(CHANGE_KEY, name);
}
