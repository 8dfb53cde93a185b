/* system.ini is never edited in place: the new text goes to system.new, the old file
   becomes system.bak, and system.new takes system.ini's place. */
#include <stdio.h>
#include <windows.h>
#include "system_ini.h"
#include "ini_rewrite.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "wininit.h"
#include "path_text.h"
#include "path_names.h"
#include "failure_note.h"
#include "../../resources/shared_strings.h"

/* What could not be changed, noted before anything is cleaned up after it. */
static int CannotChange(const char *path)
{
    return NoteFailure(IDS_CANNOTCHANGEFILE, path);
}

void WindowsFilePath(const char *name, char *path)
{
    JoinPath(path, INI_PATH_SIZE, SetupState.WindowsDir, name);   /* 79 and 13 at most */
}

/* 1 when a text-mode read of system.ini would stop early at an end-of-file mark. */
static int TextHiddenInSystemIni(const char *iniPath)
{
    FILE *raw = fopen(iniPath, "rb");
    if (!raw)
        return 0;
    int hidden = EndMarkHidesText(raw);
    fclose(raw);
    return hidden;
}

/* Writes system.new; 1 only when it was written and closed whole; 0, noted as
   system.ini not changed. */
static int WriteNewSystemIni(const char *iniPath, const char *newPath, const char *line,
                             int flags)
{
    if (TextHiddenInSystemIni(iniPath)) {
        SetLastError(ERROR_INVALID_DATA);
        return CannotChange(iniPath);
    }
    FILE *out = fopen(newPath, "wt");
    if (!out)
        return CannotChange(iniPath);
    FILE *in = fopen(iniPath, "rt");
    int ok = in && RewriteMouseLine(in, out, line, flags);
    if (in)
        fclose(in);   /* only read: a close that fails cannot have lost anything */
    if (fclose(out) != 0)
        ok = 0;
    if (!ok) {
        CannotChange(iniPath);
        remove(newPath);   /* a cut-off copy must never become system.ini */
    }
    return ok;
}

/* Moves an existing system.bak aside under a temporary name in the Windows directory,
   so that it is never deleted before system.ini has taken its place; aside is empty
   when there was none. 0, noted, when it is there and cannot be moved: it is
   read-only (kept on purpose: refused as the platform refuses to write it) or in
   use. */
static int MoveBackupAside(const char *bakPath, char *aside)
{
    aside[0] = 0;
    DWORD attributes;
    if (!PathAttributes(bakPath, &attributes))
        return CannotChange(bakPath);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return CannotChange(bakPath);
    }
    if (!GetTempFileNameA(SetupState.WindowsDir, "SB", 0, aside))
        return CannotChange(bakPath);
    DeleteFileA(aside);   /* only its name is wanted; MoveFileA does not replace */
    if (MoveFileA(bakPath, aside))
        return 1;
    aside[0] = 0;
    return CannotChange(bakPath);
}

/* The older backup goes back under its name after a rotation that failed. */
static void PutBackupBack(const char *bakPath, const char *aside)
{
    if (aside[0])
        MoveFileA(aside, bakPath);   /* its name was just freed; should it fail, the
                                        older backup is still whole under aside */
}

/* system.bak, just made of system.ini, takes its name back; when it cannot be renamed
   (held open by another program, say) a copy of it serves, and the copy's source goes
   so that the older backup can come back under its name. 0 when neither worked:
   system.ini's text is then only under system.bak. */
static int PutSystemIniBack(const char *iniPath, const char *bakPath)
{
    if (rename(bakPath, iniPath) == 0)
        return 1;
    if (!CopyFileA(bakPath, iniPath, TRUE))
        return 0;
    DeleteFileA(bakPath);   /* should it stay, it is a second copy of system.ini, and
                               the older backup stays whole under its temporary name */
    return 1;
}

/* The read-only flag of attributes (those system.ini had) on the file at path; 1 when
   it has it now, or attributes have none. */
static int ProtectLike(const char *path, DWORD attributes)
{
    return !(attributes & FILE_ATTRIBUTE_READONLY) || SetFileAttributesA(path, attributes);
}

/* system.ini becomes system.bak and system.new system.ini, the older backup kept until
   then; a system.ini that was read-only (keep, its attributes) is so again, under its
   new text. 1; 0, noted, when system.ini keeps its old text. */
static int RotateSystemIni(const char *iniPath, const char *newPath, const char *bakPath,
                           DWORD keep)
{
    char aside[MAX_PATH];
    int rotated = 0;
    if (!MoveBackupAside(bakPath, aside)) {
        /* noted */
    } else if (rename(iniPath, bakPath) != 0) {
        CannotChange(iniPath);
        PutBackupBack(bakPath, aside);
    } else if (!ProtectLike(newPath, keep) || rename(newPath, iniPath) != 0) {
        DWORD error = GetLastError();
        int back = PutSystemIniBack(iniPath, bakPath);   /* never leave Windows without one */
        SetLastError(error);
        CannotChange(back ? iniPath : bakPath);   /* where system.ini's text is */
        if (back)
            PutBackupBack(bakPath, aside);
    } else {
        rotated = 1;
    }
    if (!rotated) {
        /* never taken for a rewrite still to come; should it stay read-only, the next
           patch cannot write it and says so */
        SetFileAttributesA(newPath, FILE_ATTRIBUTE_NORMAL);
        remove(newPath);
    } else if (aside[0]) {
        DeleteFileA(aside);   /* the backup before the last: should it stay, it costs
                                 room only */
    }
    return rotated;
}

/* The WININIT.INI line goes once system.ini is whole under its name again (and with it
   a WININIT.INI left empty), then the copy; 0 when the line may still be there: the
   copy then stays with it. */
static int TakeSafetyNetAway(const char *iniPath, const char *copy)
{
    DWORD attributes;
    if (!PathAttributes(iniPath, &attributes) || attributes == INVALID_FILE_ATTRIBUTES ||
        !CancelPendingAtRestart(iniPath))
        return 0;
    DeleteEmptyWininit();
    DeleteFileA(copy);   /* should it stay, it costs room only */
    return 1;
}

/* WININIT.INI noted as what could not be changed. Its path always fits: the Windows
   directory is at most 79 characters, or nothing was loaded. */
static int CannotChangeWininit(void)
{
    char path[INI_PATH_SIZE];
    WininitPath(path, sizeof path);
    return CannotChange(path);
}

/* Between system.ini's two renames Windows has none; should the run stop there (the
   disk gone, the machine off) or system.ini not get its name back, the next start
   must still find one. A copy of system.ini under a temporary name, and a WININIT.INI
   line that puts it in system.ini's place, are made first; 0, noted, when either
   cannot be (a line that may have been written keeps its copy). */
static int SetSafetyNet(const char *iniPath, char *copy)
{
    if (!GetTempFileNameA(SetupState.WindowsDir, "SI", 0, copy))
        return CannotChange(iniPath);
    if (!CopyFileA(iniPath, copy, FALSE)) {
        CannotChange(iniPath);
        DeleteFileA(copy);   /* should it stay, it costs room only */
        return 0;
    }
    if (ScheduleRenameAtRestart(iniPath, copy))
        return 1;
    CannotChangeWininit();
    TakeSafetyNetAway(iniPath, copy);   /* written, but not read back whole */
    return 0;
}

int ReplaceSystemIniMouseLine(const char *line, int flags)
{
    char iniPath[INI_PATH_SIZE], newPath[INI_PATH_SIZE], bakPath[INI_PATH_SIZE];
    char copy[MAX_PATH];
    WindowsFilePath("system.ini", iniPath);
    WindowsFilePath("system.new", newPath);
    WindowsFilePath("system.bak", bakPath);
    DWORD attributes;
    if (!PathAttributes(iniPath, &attributes))
        return CannotChange(iniPath);
    if (!WriteNewSystemIni(iniPath, newPath, line, flags))
        return 0;
    /* A read-only system.ini loses the flag for the renames: the backup it becomes must
       be replaceable by the way back; the new file gets it again. */
    int readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesA(iniPath, attributes & ~FILE_ATTRIBUTE_READONLY)) {
        CannotChange(iniPath);
        remove(newPath);   /* one that stays is written anew by the next patch */
        return 0;
    }
    if (!SetSafetyNet(iniPath, copy)) {
        remove(newPath);   /* never taken for a rewrite still to come; one that stays is
                              written anew by the next patch */
        if (readOnly)
            SetFileAttributesA(iniPath, attributes);   /* as it was; should it fail, the
                                                          file is only writable */
        return 0;
    }
    int rotated = RotateSystemIni(iniPath, newPath, bakPath, readOnly ? attributes : 0);
    if (!rotated && readOnly)
        SetFileAttributesA(iniPath, attributes);   /* the old file back as it was; should it
                                                      fail, it is only writable */
    if (!TakeSafetyNetAway(iniPath, copy) && rotated)
        return CannotChangeWininit();   /* the next start puts the old text back */
    return rotated;
}

int ReadSystemIniMouseLine(const char *name, char *line, int size, int *found)
{
    char path[INI_PATH_SIZE];
    DWORD attributes;
    WindowsFilePath(name, path);
    line[0] = 0;
    *found = 0;
    if (!PathAttributes(path, &attributes))
        return 0;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    FILE *in = fopen(path, "rt");
    if (!in)
        return 0;
    *found = FindMouseLine(in, line, size);
    int failed = ferror(in);
    fclose(in);   /* only read: a close that fails cannot have lost anything */
    return !failed;
}

int FindVmousePaths(char *vxd, char *bak)
{
    char systemDir[80];
    UINT length = GetSystemDirectoryA(systemDir, sizeof systemDir);
    if (length == 0 || length >= sizeof systemDir)
        return 0;   /* a directory name that does not fit is left unread */
    JoinPath(vxd, VMOUSE_PATH_SIZE, systemDir, "VMM32\\VMOUSE.VXD");   /* 79 and 17 at most */
    JoinPath(bak, VMOUSE_PATH_SIZE, systemDir, "VMM32\\VMOUSE.BAK");
    return 1;
}
