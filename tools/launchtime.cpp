// Benchmark: how long a program takes from its launch until a visible window of the
// given class appears; the program is ended then.
//   launchtime CLASS PROGRAM [ARGUMENTS]
#include <windows.h>
#include <stdio.h>
#include <string>

struct Search {
    DWORD pid;
    const char *cls;
    bool found;
};

static BOOL CALLBACK Find(HWND w, LPARAM param)
{
    Search *s = (Search *)param;
    DWORD pid;
    char cls[64];
    GetWindowThreadProcessId(w, &pid);
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && IsWindowVisible(w) && !lstrcmpA(cls, s->cls)) {
        s->found = true;
        return FALSE;
    }
    return TRUE;
}

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    std::string cmd = std::string("\"") + argv[2] + "\"";
    for (int i = 3; i < argc; i++)
        cmd += std::string(" ") + argv[i];
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(0, &cmd[0], 0, 0, FALSE, 0, 0, 0, &si, &pi))
        return 1;
    Search s = {pi.dwProcessId, argv[1], false};
    for (int i = 0; i < 60000 && !s.found; i++) {
        EnumWindows(Find, (LPARAM)&s);
        if (!s.found)
            Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    if (!s.found)
        return 1;
    printf("%.1f\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / freq.QuadPart);
    return 0;
}
