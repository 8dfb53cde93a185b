// Benchmark baseline: a minimal program that shows one dialog (a message box).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(0, "One dialog.", "Baseline", MB_OK);
    return 0;
}
