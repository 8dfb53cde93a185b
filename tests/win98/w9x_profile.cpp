// The profile (INI) services as Windows 95 keeps them: one file in a cache, written to
// its file only at the flush Microsoft documents ("If all parameters are NULL, the
// function flushes the cache"; WritePrivateProfileString) or when another file is
// used; until then a program that reads the file itself sees the old one. The cached
// file is a copy of the rig's (a new name each time, so that Wine's own cache never
// hands out an older one), which Wine's services read and write.
#include "w9x.h"

static char Cached[MAX_PATH];   // the file the cache holds, in its full form; "" none
static char Copied[MAX_PATH];   // the copy that stands for it
static int Dirty, Copies;
static WIN32_FILE_ATTRIBUTE_DATA Loaded;   // the file as the cache read or wrote it

static int Stamp(const char *file, WIN32_FILE_ATTRIBUTE_DATA *stamp)
{
    ZeroMemory(stamp, sizeof *stamp);
    return GetFileAttributesExA(file, GetFileExInfoStandard, stamp);
}

static int ChangedSince(const char *file)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    Stamp(file, &now);
    return CompareFileTime(&now.ftLastWriteTime, &Loaded.ftLastWriteTime) ||
           now.nFileSizeLow != Loaded.nFileSizeLow;
}

// The file the services mean: a bare name lies in the Windows directory.
static void FullName(const char *file, char *full)
{
    int bare = 1;
    for (const char *p = file; *p; p++)
        bare &= *p != '\\' && *p != '/' && *p != ':';
    char *part;
    if (bare) {
        GetWindowsDirectoryA(full, MAX_PATH);
        Append(full, MAX_PATH, "\\");
        Append(full, MAX_PATH, file);
    } else if (!GetFullPathNameA(file, MAX_PATH, full, &part)) {
        Copy(full, MAX_PATH, file);
    }
    CharUpperA(full);
}

static void FlushProfileCache(void)
{
    if (!Cached[0] || !Dirty)
        return;
    WritePrivateProfileStringA(0, 0, 0, Copied);   // Wine's own cache of the copy
    if (ChangedSince(Cached))   // replaced since it was read: what replaced it is lost
        Tell("the profile cache written over a file changed since it was read", Cached);
    if (GetFileAttributesA(Copied) != INVALID_FILE_ATTRIBUTES)
        CopyFileA(Copied, Cached, FALSE);   // a file held by another program: the writes
                                            // are lost, as Windows 95 loses them
    Stamp(Cached, &Loaded);
    Dirty = 0;
}

static void Forget(void)
{
    FlushProfileCache();
    if (Cached[0])
        DeleteFileA(Copied);
    Cached[0] = 0;
}

// The cache made to hold file (the one it held written first); the copy's name.
static const char *Bring(const char *file)
{
    char full[MAX_PATH];
    FullName(file, full);
    // a file changed by someone else is read again while nothing waits to be written
    if (Cached[0] && !lstrcmpA(full, Cached) && (Dirty || !ChangedSince(full)))
        return Copied;
    Forget();
    char name[32];
    wsprintfA(name, "P%lu_%d.INI", GetCurrentProcessId(), ++Copies);
    RigFile(name, Copied);
    DeleteFileA(Copied);
    CopyFileA(full, Copied, FALSE);   // none when the file is not there
    Stamp(full, &Loaded);
    Copy(Cached, sizeof Cached, full);
    return Copied;
}

static int IsThere(const char *file)
{
    char full[MAX_PATH];
    FullName(file, full);
    if (Cached[0] && !lstrcmpA(full, Cached) && (Dirty || !ChangedSince(full)))
        return GetFileAttributesA(Copied) != INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesA(full) != INVALID_FILE_ATTRIBUTES;
}

extern "C" BOOL WINAPI W9X_WritePrivateProfileStringA(const char *section, const char *key,
                                                      const char *value, const char *file)
{
    if (!section && !key && !value && !file) {
        FlushProfileCache();
        return FALSE;   // "The function always returns FALSE after flushing" (Windows 95 SDK)
    }
    if (!file || DriveNotReady("WritePrivateProfileStringA", file))
        return FALSE;
    if (!section)
        return FALSE;   // a flush of one file is no form Windows 95 documents
    // profile.c: an empty value written to a file that is not there fails on Win9x and
    // makes no file (broken(!ret), "Win9x and WinME")
    if (value && !value[0] && !IsThere(file)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    BOOL written = WritePrivateProfileStringA(section, key, value, Bring(file));
    Dirty |= written;
    return written;
}

extern "C" BOOL WINAPI W9X_WritePrivateProfileSectionA(const char *section, const char *lines,
                                                       const char *file)
{
    if (!file || DriveNotReady("WritePrivateProfileSectionA", file))
        return FALSE;
    BOOL written = WritePrivateProfileSectionA(section, lines, Bring(file));
    Dirty |= written;
    return written;
}

extern "C" DWORD WINAPI W9X_GetPrivateProfileStringA(const char *section, const char *key,
                                                     const char *fallback, char *value, DWORD size,
                                                     const char *file)
{
    if (!file || DriveNotReady("GetPrivateProfileStringA", file)) {
        if (size)
            Copy(value, (int)size, fallback);
        return value ? (DWORD)lstrlenA(value) : 0;
    }
    return GetPrivateProfileStringA(section, key, fallback, value, size, Bring(file));
}

extern "C" UINT WINAPI W9X_GetPrivateProfileIntA(const char *section, const char *key, INT fallback,
                                                 const char *file)
{
    if (!file || DriveNotReady("GetPrivateProfileIntA", file))
        return (UINT)fallback;
    return GetPrivateProfileIntA(section, key, fallback, Bring(file));
}

extern "C" DWORD WINAPI W9X_GetPrivateProfileSectionA(const char *section, char *lines, DWORD size,
                                                      const char *file)
{
    if (!file || DriveNotReady("GetPrivateProfileSectionA", file)) {
        if (size)
            lines[0] = 0;
        return 0;
    }
    return GetPrivateProfileSectionA(section, lines, size, Bring(file));
}

void EndProfileCache(void)
{
    Forget();
}
