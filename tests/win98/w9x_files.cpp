// Files as Windows 95/98 keep them on FAT, their only file system, and the calls they
// lack. Each answer names its source.
#include "w9x.h"
#include <lzexpand.h>

// ---- Times. Microsoft, "File Times": "FAT records times on disk in local time",
// "write time has a resolution of 2 seconds", and converting them "uses the current
// settings for the time zone and daylight saving time". The rig's disk holds local
// time; a program reads it through the bias in force now.

static ULONGLONG Steps(const FILETIME *t)
{
    return (ULONGLONG)t->dwHighDateTime << 32 | t->dwLowDateTime;
}

static FILETIME Time(ULONGLONG steps)
{
    FILETIME t;
    t.dwLowDateTime = (DWORD)steps;
    t.dwHighDateTime = (DWORD)(steps >> 32);
    return t;
}

static const ULONGLONG TwoSeconds = 20000000;

static FILETIME ToDisk(const FILETIME *utc, int twoSeconds)
{
    ULONGLONG local = Steps(utc) - (ULONGLONG)BiasSteps();
    return Time(twoSeconds ? local - local % TwoSeconds : local);
}

static void FromDisk(FILETIME *t, int twoSeconds)
{
    ULONGLONG local = Steps(t);
    if (twoSeconds)
        local -= local % TwoSeconds;
    *t = Time(local + (ULONGLONG)BiasSteps());
}

static void DataFromDisk(WIN32_FIND_DATAA *data)
{
    FromDisk(&data->ftCreationTime, 0);
    FromDisk(&data->ftLastAccessTime, 0);
    FromDisk(&data->ftLastWriteTime, 1);
}

extern "C" BOOL WINAPI W9X_SetFileTime(HANDLE file, const FILETIME *created, const FILETIME *accessed,
                                       const FILETIME *written)
{
    FILETIME c, a, w;
    if (created)
        c = ToDisk(created, 0);
    if (accessed)
        a = ToDisk(accessed, 0);
    if (written)
        w = ToDisk(written, 1);
    return SetFileTime(file, created ? &c : 0, accessed ? &a : 0, written ? &w : 0);
}

extern "C" BOOL WINAPI W9X_GetFileTime(HANDLE file, FILETIME *created, FILETIME *accessed,
                                       FILETIME *written)
{
    if (!GetFileTime(file, created, accessed, written))
        return FALSE;
    if (created)
        FromDisk(created, 0);
    if (accessed)
        FromDisk(accessed, 0);
    if (written)
        FromDisk(written, 1);
    return TRUE;
}

extern "C" BOOL WINAPI W9X_GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION *info)
{
    if (!GetFileInformationByHandle(file, info))
        return FALSE;
    FromDisk(&info->ftCreationTime, 0);
    FromDisk(&info->ftLastAccessTime, 0);
    FromDisk(&info->ftLastWriteTime, 1);
    return TRUE;
}

extern "C" HANDLE WINAPI W9X_FindFirstFileA(const char *pattern, WIN32_FIND_DATAA *data)
{
    if (DriveNotReady("FindFirstFileA", pattern))
        return INVALID_HANDLE_VALUE;
    HANDLE find = FindFirstFileA(pattern, data);
    if (find != INVALID_HANDLE_VALUE)
        DataFromDisk(data);
    return find;
}

extern "C" BOOL WINAPI W9X_FindNextFileA(HANDLE find, WIN32_FIND_DATAA *data)
{
    if (!FindNextFileA(find, data))
        return FALSE;
    DataFromDisk(data);
    return TRUE;
}

// ---- Opening. Wine's kernel32 tests (file.c, test_file_sharing): "Win9x doesn't
// support FILE_SHARE_DELETE"; CreateFileA answers ERROR_INVALID_PARAMETER to it.
extern "C" HANDLE WINAPI W9X_CreateFileA(const char *path, DWORD access, DWORD share,
                                         SECURITY_ATTRIBUTES *security, DWORD how, DWORD flags,
                                         HANDLE model)
{
    if (DriveNotReady("CreateFileA", path))
        return INVALID_HANDLE_VALUE;
    if (share & FILE_SHARE_DELETE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileA(path, access, share, security, how, flags, model);
}

// Microsoft KB Q129532, "MoveFileEx Not Supported in Windows 95 But Functionality Is":
// Windows 95 does not implement MoveFileEx.
extern "C" BOOL WINAPI W9X_MoveFileExA(const char *, const char *, DWORD)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

// ---- The calls that touch a drive, each failing first where it has no disk in it.
extern "C" DWORD WINAPI W9X_GetFileAttributesA(const char *path)
{
    return DriveNotReady("GetFileAttributesA", path) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path);
}

extern "C" BOOL WINAPI W9X_SetFileAttributesA(const char *path, DWORD attributes)
{
    return !DriveNotReady("SetFileAttributesA", path) && SetFileAttributesA(path, attributes);
}

extern "C" BOOL WINAPI W9X_DeleteFileA(const char *path)
{
    return !DriveNotReady("DeleteFileA", path) && DeleteFileA(path);
}

extern "C" BOOL WINAPI W9X_CreateDirectoryA(const char *path, SECURITY_ATTRIBUTES *security)
{
    return !DriveNotReady("CreateDirectoryA", path) && CreateDirectoryA(path, security);
}

extern "C" BOOL WINAPI W9X_RemoveDirectoryA(const char *path)
{
    return !DriveNotReady("RemoveDirectoryA", path) && RemoveDirectoryA(path);
}

extern "C" BOOL WINAPI W9X_SetCurrentDirectoryA(const char *path)
{
    return !DriveNotReady("SetCurrentDirectoryA", path) && SetCurrentDirectoryA(path);
}

extern "C" BOOL WINAPI W9X_MoveFileA(const char *from, const char *to)
{
    return !DriveNotReady("MoveFileA", from) && !DriveNotReady("MoveFileA", to) && MoveFileA(from, to);
}

extern "C" BOOL WINAPI W9X_CopyFileA(const char *from, const char *to, BOOL failIfThere)
{
    return !DriveNotReady("CopyFileA", from) && !DriveNotReady("CopyFileA", to) &&
           CopyFileA(from, to, failIfThere);
}

extern "C" BOOL WINAPI W9X_GetDiskFreeSpaceA(const char *root, DWORD *sectorsPerCluster,
                                             DWORD *bytesPerSector, DWORD *freeClusters,
                                             DWORD *clusters)
{
    return !DriveNotReady("GetDiskFreeSpaceA", root) &&
           GetDiskFreeSpaceA(root, sectorsPerCluster, bytesPerSector, freeClusters, clusters);
}

extern "C" DWORD WINAPI W9X_GetShortPathNameA(const char *path, char *shortPath, DWORD size)
{
    return DriveNotReady("GetShortPathNameA", path) ? 0 : GetShortPathNameA(path, shortPath, size);
}

extern "C" UINT WINAPI W9X_GetTempFileNameA(const char *dir, const char *prefix, UINT unique, char *name)
{
    return DriveNotReady("GetTempFileNameA", dir) ? 0 : GetTempFileNameA(dir, prefix, unique, name);
}

extern "C" HFILE WINAPI W9X_OpenFile(const char *path, OFSTRUCT *of, UINT style)
{
    return DriveNotReady("OpenFile", path) ? HFILE_ERROR : OpenFile(path, of, style);
}

extern "C" INT WINAPI W9X_LZOpenFileA(char *path, OFSTRUCT *of, WORD style)
{
    return DriveNotReady("LZOpenFileA", path) ? LZERROR_BADINHANDLE : LZOpenFileA(path, of, style);
}
