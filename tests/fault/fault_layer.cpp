// The fault layer's counter, built without the layer itself. Settings come from the
// environment at the first call: FAULT_AT (the call to fail, from 1; none without it),
// FAULT_MODE ("always": that call and every later one of its kind; "cut": the power
// goes at that call, which is not made: the process ends there, with no clean-up),
// FAULT_LOG (a file that receives "failed N CALL" and, at the end, "calls N").
#include <windows.h>
#include <stdlib.h>

/* As fault_layer.h declares them; its wrappers are not wanted here. */
int FaultHit(const char *call, int kind, DWORD error);
void WINAPI FaultExitProcess(UINT code);

static long Calls, FailAt, FailingKind = -1;
static int Always, Cut, Ready;
static char Log[MAX_PATH];

static void Note(const char *text)
{
    if (!Log[0])
        return;
    HANDLE file = CreateFileA(Log, GENERIC_WRITE, FILE_SHARE_READ, 0, OPEN_ALWAYS, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    SetFilePointer(file, 0, 0, FILE_END);
    WriteFile(file, text, (DWORD)lstrlenA(text), &written, 0);
    CloseHandle(file);
}

static void ReadSettings(void)
{
    char value[32] = "";
    Ready = 1;
    if (GetEnvironmentVariableA("FAULT_AT", value, sizeof value))
        FailAt = atol(value);
    value[0] = 0;
    GetEnvironmentVariableA("FAULT_MODE", value, sizeof value);
    Always = !lstrcmpA(value, "always");
    Cut = !lstrcmpA(value, "cut");
    if (!GetEnvironmentVariableA("FAULT_LOG", Log, sizeof Log))
        Log[0] = 0;
}

int FaultHit(const char *call, int kind, DWORD error)
{
    if (!Ready)
        ReadSettings();
    Calls++;
    int fail = Calls == FailAt || (Always && kind == FailingKind);
    if (!fail)
        return 0;
    if (Calls == FailAt) {
        FailingKind = kind;
        char line[96];
        wsprintfA(line, "failed %ld %s\r\n", Calls, call);
        Note(line);
        if (Cut)   /* what was written before stays, as the system's cache has it */
            TerminateProcess(GetCurrentProcess(), 99);
    }
    SetLastError(error);
    return 1;
}

void WINAPI FaultExitProcess(UINT code)
{
    char line[32];
    wsprintfA(line, "calls %ld\r\n", Calls);
    Note(line);
    ExitProcess(code);
}
