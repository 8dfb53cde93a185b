/* The setup-script loader: where the script is, and the Windows directory. The rules
   of the load are in script_rules.cpp, the reads they make in script_source.cpp. */
#include "script_loader.h"
#include "script_rules.h"
#include "script_source.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "path_text.h"
#include "failure_note.h"
#include "../../resources/shared_strings.h"

static char ScriptPath[MAX_PATH + 16];

int FindProgramDir(char *dir, int size)
{
    /* Some Windows versions answer a path too long for the buffer with one cut to a
       character less than the buffer, which looks whole: the path is read into a
       buffer larger than any path, so that a whole one that just fits is told apart. */
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(0, path, sizeof path);
    dir[0] = 0;
    if (length == 0 || length >= (DWORD)size || length >= sizeof path)
        return 0;
    path[length] = 0;
    return DirectoryOf(path, dir, size);   /* the root keeps its backslash: "C:\\" */
}

/* The reading error, noted with the script's path, or (0) as a path too long for this
   program's buffers, where no call of the platform's failed; the caption is built for
   its box. */
static int ReadingError(const char *path)
{
    if (!path)
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
    CopyText(SetupState.ProductName, sizeof SetupState.ProductName, DefaultProductName);
    BuildCaptionWith(IDS_SETUPPROGRAM);
    return NoteFailure(IDS_READERROR, path ? path : "SETUP.INF");
}

/* Reads the setup script in dir (a whole path of any length Windows allows); 1, or 0,
   noted, when the file table cannot be had. A script that is not there loads the
   defaults; one that is there and cannot be read is a reading error. */
static int LoadScriptFrom(const char *dir)
{
    if (!JoinPath(ScriptPath, sizeof ScriptPath, dir, "SETUP.INF"))
        return ReadingError(0);
    if (!OpenScriptSource(ScriptPath))
        return ReadingError(ScriptPath);
    SetLastError(NO_ERROR);   /* counts beyond the table's are no error of the platform's */
    int loaded = LoadScriptValues() || NoteFailure(IDS_READERROR, ScriptPath);
    CloseScriptSource();
    return loaded;
}

void ReleaseFileTable(void)
{
    if (SetupState.FileChecks)
        GlobalFree(SetupState.FileChecks);
    SetupState.FileChecks = 0;
    if (!SetupState.FileTableHandle)
        return;
    if (SetupState.FileTableBase)
        GlobalUnlock(SetupState.FileTableHandle);
    GlobalFree(SetupState.FileTableHandle);
    SetupState.FileTableHandle = 0;
    SetupState.FileTableBase = 0;
}

/* 0 when the program's own path does not fit SetupDir: cut, it would name a parent
   directory, and the script, the prior-value record and the driver-only install would
   all go to the wrong place. */
int LoadSetupScript(void)
{
    if (!FindProgramDir(SetupState.SetupDir, sizeof SetupState.SetupDir))
        return ReadingError(0);
    return LoadScriptFrom(SetupState.SetupDir);
}

/* 0 when the Windows directory's name does not fit: system.ini and the Windows
   targets would otherwise be looked for in the root of the current drive. */
static int FindWindowsDir(void)
{
    UINT length = GetWindowsDirectoryA(SetupState.WindowsDir, sizeof SetupState.WindowsDir);
    if (length == 0 || length >= sizeof SetupState.WindowsDir) {
        SetupState.WindowsDir[0] = 0;
        if (length)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return NoteFailure(IDS_READERROR, "");
    }
    return 1;
}

int LoadScriptAndWindowsDir(void)
{
    int windowsFound = FindWindowsDir();
    return LoadSetupScript() && windowsFound;
}

int LoadScriptFromAndWindowsDir(const char *dir)
{
    int windowsFound = FindWindowsDir();
    return LoadScriptFrom(dir) && windowsFound;
}
