// The rig's side of W9X.DLL: where it reads its switches, where it tells what it saw,
// the error mode and the drive that has no disk in it.
#include "w9x.h"

static char Rig[MAX_PATH] = "C:\\W9XRIG";
static char Program[MAX_PATH] = "?";
static UINT ErrorMode;   // a process starts with the critical-error box shown
static LONGLONG Bias;

void Copy(char *to, int size, const char *from)
{
    lstrcpynA(to, from ? from : "", size);
}

void Append(char *to, int size, const char *from)
{
    int used = lstrlenA(to);
    if (used < size - 1)
        lstrcpynA(to + used, from, size - used);
}

void RigFile(const char *name, char *path)
{
    Copy(path, MAX_PATH, Rig);
    Append(path, MAX_PATH, "\\");
    Append(path, MAX_PATH, name);
}

void Tell(const char *what, const char *detail)
{
    char path[MAX_PATH], line[1024];
    RigFile("W9X.LOG", path);
    wsprintfA(line, "%s: %s: %.900s\r\n", Program, what, detail);
    HANDLE log = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, 0);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD put;
    SetFilePointer(log, 0, 0, FILE_END);
    WriteFile(log, line, (DWORD)lstrlenA(line), &put, 0);
    CloseHandle(log);
}

LONGLONG BiasSteps(void)
{
    return Bias;
}

// SetErrorMode answers as everywhere; the mode is kept to tell whether the system's
// box would show (Microsoft's SetErrorMode: "SEM_FAILCRITICALERRORS: The system does
// not display the critical-error-handler message box").
extern "C" UINT WINAPI W9X_SetErrorMode(UINT mode)
{
    UINT before = ErrorMode;
    ErrorMode = mode;
    SetErrorMode(mode);
    return before;
}

static char Letter(char c)
{
    return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
}

static char DriveOf(const char *path)
{
    if (!path || !path[0])
        return 0;
    if (path[1] == ':')
        return Letter(path[0]);
    if (path[0] == '\\' && path[1] == '\\')
        return 0;
    char here[MAX_PATH];
    return GetCurrentDirectoryA(sizeof here, here) ? Letter(here[0]) : 0;
}

// Windows 95/98 ask the user with their own critical-error box when a drive has no
// disk in it; answered, the call fails with ERROR_NOT_READY ("The device is not ready").
int DriveNotReady(const char *call, const char *path)
{
    char drive = DriveOf(path);
    if (drive != 'A' && drive != 'B')
        return 0;
    char name[16], mark[MAX_PATH];
    wsprintfA(name, "NOTREADY.%c", drive);
    RigFile(name, mark);
    if (GetFileAttributesA(mark) == INVALID_FILE_ATTRIBUTES)
        return 0;
    if (!(ErrorMode & SEM_FAILCRITICALERRORS)) {
        char detail[MAX_PATH + 64];
        wsprintfA(detail, "%s %.260s", call, path ? path : "(current directory)");
        Tell("critical-error box shown", detail);
    }
    SetLastError(ERROR_NOT_READY);
    return 1;
}

static void ReadSwitches(void)
{
    char value[MAX_PATH], path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("W9X_RIG", value, sizeof value);
    if (length > 0 && length < sizeof value)
        Copy(Rig, sizeof Rig, value);
    char module[MAX_PATH];
    if (GetModuleFileNameA(0, module, sizeof module)) {
        const char *name = module;
        for (const char *p = module; *p; p++)
            if (*p == '\\')
                name = p + 1;
        Copy(Program, sizeof Program, name);
    }
    RigFile("BIAS", path);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    DWORD got = 0;
    char text[16] = "";
    if (file != INVALID_HANDLE_VALUE) {
        ReadFile(file, text, sizeof text - 1, &got, 0);
        CloseHandle(file);
    }
    text[got < sizeof text ? got : sizeof text - 1] = 0;
    int sign = text[0] == '-' ? -1 : 1, minutes = 0;
    for (const char *p = text + (text[0] == '-'); *p >= '0' && *p <= '9'; p++)
        minutes = minutes * 10 + (*p - '0');
    Bias = (LONGLONG)sign * minutes * 600000000LL;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ReadSwitches();
    else if (reason == DLL_PROCESS_DETACH)
        EndProfileCache();   // the system's cache outlives a program on Windows 95
    return TRUE;
}
