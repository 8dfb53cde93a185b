// Force-included into the fault build of SETUP.EXE and UNINSTAL.EXE (never into the
// shipped ones): every call below that touches the machine first asks FaultHit, which
// counts it and fails the chosen one (FAULT_AT, counted from 1) with the error a real
// machine gives there; with FAULT_MODE=always, also every later call of its kind (the
// disk, the registry or the memory going away). FAULT_LOG receives what failed and, at
// the end, how many calls were made.
#ifndef FAULT_LAYER_H
#define FAULT_LAYER_H
#ifdef __cplusplus
#include <windows.h>
#include <lzexpand.h>
#include <stdio.h>

enum FaultKind { FAULT_FILE, FAULT_REGISTRY, FAULT_MEMORY };
int FaultHit(const char *call, int kind, DWORD error);
void WINAPI FaultExitProcess(UINT code);
// The clock runs twenty times as fast: the copy page's pause of a second before the
// registration costs each run of the sweep 50 ms. Not a point: it changes nothing.
inline DWORD WINAPI FaultGetTickCount(void) { return GetTickCount() * 20; }

#define FAULT_WRAP(type, name, kind, error, failed, params, args) \
    inline type WINAPI Fault##name params \
    { return FaultHit(#name, kind, error) ? failed : name args; }
#define FAULT_CRT(type, name, failed, params, args) \
    inline type Fault_##name params { return FaultHit(#name, FAULT_FILE, 0) ? failed : name args; }

FAULT_WRAP(HANDLE, CreateFileA, FAULT_FILE, ERROR_SHARING_VIOLATION, INVALID_HANDLE_VALUE,
           (LPCSTR a, DWORD b, DWORD c, LPSECURITY_ATTRIBUTES d, DWORD e, DWORD f, HANDLE g),
           (a, b, c, d, e, f, g))
FAULT_WRAP(BOOL, WriteFile, FAULT_FILE, ERROR_DISK_FULL, FALSE,
           (HANDLE a, LPCVOID b, DWORD c, LPDWORD d, LPOVERLAPPED e), (a, b, c, d, e))
FAULT_WRAP(BOOL, ReadFile, FAULT_FILE, ERROR_ACCESS_DENIED, FALSE,
           (HANDLE a, LPVOID b, DWORD c, LPDWORD d, LPOVERLAPPED e), (a, b, c, d, e))
FAULT_WRAP(BOOL, MoveFileA, FAULT_FILE, ERROR_SHARING_VIOLATION, FALSE, (LPCSTR a, LPCSTR b), (a, b))
FAULT_WRAP(BOOL, DeleteFileA, FAULT_FILE, ERROR_ACCESS_DENIED, FALSE, (LPCSTR a), (a))
FAULT_WRAP(BOOL, CopyFileA, FAULT_FILE, ERROR_DISK_FULL, FALSE, (LPCSTR a, LPCSTR b, BOOL c), (a, b, c))
FAULT_WRAP(BOOL, CreateDirectoryA, FAULT_FILE, ERROR_ACCESS_DENIED, FALSE,
           (LPCSTR a, LPSECURITY_ATTRIBUTES b), (a, b))
FAULT_WRAP(BOOL, RemoveDirectoryA, FAULT_FILE, ERROR_ACCESS_DENIED, FALSE, (LPCSTR a), (a))
FAULT_WRAP(UINT, GetTempFileNameA, FAULT_FILE, ERROR_ACCESS_DENIED, 0,
           (LPCSTR a, LPCSTR b, UINT c, LPSTR d), (a, b, c, d))
FAULT_WRAP(BOOL, SetFileAttributesA, FAULT_FILE, ERROR_ACCESS_DENIED, FALSE, (LPCSTR a, DWORD b), (a, b))
FAULT_WRAP(INT, LZOpenFileA, FAULT_FILE, ERROR_FILE_NOT_FOUND, LZERROR_BADINHANDLE,
           (LPSTR a, LPOFSTRUCT b, WORD c), (a, b, c))
FAULT_WRAP(BOOL, WritePrivateProfileStringA, FAULT_FILE, ERROR_ACCESS_DENIED, FALSE,
           (LPCSTR a, LPCSTR b, LPCSTR c, LPCSTR d), (a, b, c, d))
FAULT_WRAP(BOOL, WritePrivateProfileSectionA, FAULT_FILE, ERROR_ACCESS_DENIED, FALSE,
           (LPCSTR a, LPCSTR b, LPCSTR c), (a, b, c))
FAULT_WRAP(LONG, RegCreateKeyExA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, LPCSTR b, DWORD c, LPSTR d, DWORD e, REGSAM f, LPSECURITY_ATTRIBUTES g,
            PHKEY h, LPDWORD i), (a, b, c, d, e, f, g, h, i))
FAULT_WRAP(LONG, RegOpenKeyExA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, LPCSTR b, DWORD c, REGSAM d, PHKEY e), (a, b, c, d, e))
FAULT_WRAP(LONG, RegSetValueExA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, LPCSTR b, DWORD c, DWORD d, const BYTE *e, DWORD f), (a, b, c, d, e, f))
FAULT_WRAP(LONG, RegDeleteKeyA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, LPCSTR b), (a, b))
FAULT_WRAP(LONG, RegDeleteValueA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, LPCSTR b), (a, b))
// Reads where "cannot be read" must not pass for "absent".
FAULT_WRAP(LONG, RegQueryValueExA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, LPCSTR b, LPDWORD c, LPDWORD d, LPBYTE e, LPDWORD f), (a, b, c, d, e, f))
FAULT_WRAP(LONG, RegEnumKeyExA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, DWORD b, LPSTR c, LPDWORD d, LPDWORD e, LPSTR f, LPDWORD g, PFILETIME h),
           (a, b, c, d, e, f, g, h))
FAULT_WRAP(LONG, RegQueryInfoKeyA, FAULT_REGISTRY, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
           (HKEY a, LPSTR b, LPDWORD c, LPDWORD d, LPDWORD e, LPDWORD f, LPDWORD g, LPDWORD h,
            LPDWORD i, LPDWORD j, LPDWORD k, PFILETIME l), (a, b, c, d, e, f, g, h, i, j, k, l))
FAULT_WRAP(DWORD, GetFileAttributesA, FAULT_FILE, ERROR_ACCESS_DENIED, INVALID_FILE_ATTRIBUTES,
           (LPCSTR a), (a))
FAULT_WRAP(HANDLE, FindFirstFileA, FAULT_FILE, ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE,
           (LPCSTR a, LPWIN32_FIND_DATAA b), (a, b))
FAULT_WRAP(LONG, LZSeek, FAULT_FILE, ERROR_READ_FAULT, LZERROR_READ, (INT a, LONG b, INT c), (a, b, c))
FAULT_WRAP(INT, LZRead, FAULT_FILE, ERROR_READ_FAULT, LZERROR_READ, (INT a, LPSTR b, INT c), (a, b, c))
FAULT_WRAP(HGLOBAL, GlobalAlloc, FAULT_MEMORY, ERROR_NOT_ENOUGH_MEMORY, NULL, (UINT a, SIZE_T b), (a, b))
FAULT_CRT(FILE *, fopen, NULL, (const char *a, const char *b), (a, b))
FAULT_CRT(int, fputs, EOF, (const char *a, FILE *b), (a, b))
FAULT_CRT(size_t, fwrite, 0, (const void *a, size_t b, size_t c, FILE *d), (a, b, c, d))
FAULT_CRT(int, rename, -1, (const char *a, const char *b), (a, b))
FAULT_CRT(int, remove, -1, (const char *a), (a))

// A failed close has closed all the same: the stream or handle is gone, what it held
// may not be on the disk.
inline BOOL WINAPI FaultCloseHandle(HANDLE a)
{
    BOOL closed = CloseHandle(a);
    return FaultHit("CloseHandle", FAULT_FILE, ERROR_ACCESS_DENIED) ? FALSE : closed;
}
inline int Fault_fclose(FILE *a)
{
    int closed = fclose(a);
    return FaultHit("fclose", FAULT_FILE, 0) ? EOF : closed;
}

#define CreateFileA FaultCreateFileA
#define WriteFile FaultWriteFile
#define ReadFile FaultReadFile
#define CloseHandle FaultCloseHandle
#define MoveFileA FaultMoveFileA
#define DeleteFileA FaultDeleteFileA
#define CopyFileA FaultCopyFileA
#define CreateDirectoryA FaultCreateDirectoryA
#define RemoveDirectoryA FaultRemoveDirectoryA
#define GetTempFileNameA FaultGetTempFileNameA
#define SetFileAttributesA FaultSetFileAttributesA
#define LZOpenFileA FaultLZOpenFileA
#define WritePrivateProfileStringA FaultWritePrivateProfileStringA
#define WritePrivateProfileSectionA FaultWritePrivateProfileSectionA
#define RegCreateKeyExA FaultRegCreateKeyExA
#define RegOpenKeyExA FaultRegOpenKeyExA
#define RegSetValueExA FaultRegSetValueExA
#define RegDeleteKeyA FaultRegDeleteKeyA
#define RegDeleteValueA FaultRegDeleteValueA
#define RegQueryValueExA FaultRegQueryValueExA
#define RegEnumKeyExA FaultRegEnumKeyExA
#define RegQueryInfoKeyA FaultRegQueryInfoKeyA
#define GetFileAttributesA FaultGetFileAttributesA
#define FindFirstFileA FaultFindFirstFileA
#define LZSeek FaultLZSeek
#define LZRead FaultLZRead
#define GlobalAlloc FaultGlobalAlloc
#define fopen Fault_fopen
#define fputs Fault_fputs
#define fwrite Fault_fwrite
#define fclose Fault_fclose
#define rename Fault_rename
#define remove Fault_remove
#define ExitProcess FaultExitProcess
#define GetTickCount FaultGetTickCount
#endif
#endif
