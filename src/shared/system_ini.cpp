/* system.ini is never edited in place: the new text goes to system.new, the old file
   becomes system.bak, and system.new takes system.ini's place. */
#include <stdio.h>
#include <windows.h>
#include "system_ini.h"
#include "ini_rewrite.h"
#include "setup_state.h"
#include "bounded_text.h"

#define INI_PATH_SIZE 128

static void PathIn(char *path, int size, const char *dir, const char *name)
{
    CopyText(path, size, dir);
    AppendText(path, size, name);
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

/* Writes system.new; 1 only when it was written and closed whole. */
static int WriteNewSystemIni(const char *iniPath, const char *newPath, const char *line,
                             int flags)
{
    if (TextHiddenInSystemIni(iniPath))
        return 0;
    FILE *out = fopen(newPath, "wt");
    if (!out)
        return 0;
    FILE *in = fopen(iniPath, "rt");
    if (!in) {
        fclose(out);
        remove(newPath);
        return 0;
    }
    int ok = RewriteMouseLine(in, out, line, flags);
    fclose(in);
    if (fclose(out) != 0)
        ok = 0;
    if (!ok)
        remove(newPath);   /* a cut-off copy must never become system.ini */
    return ok;
}

int ReplaceSystemIniMouseLine(const char *line, int flags)
{
    char iniPath[INI_PATH_SIZE], newPath[INI_PATH_SIZE], bakPath[INI_PATH_SIZE];
    PathIn(iniPath, sizeof iniPath, SetupState.WindowsDir, "\\system.ini");
    PathIn(newPath, sizeof newPath, SetupState.WindowsDir, "\\system.new");
    PathIn(bakPath, sizeof bakPath, SetupState.WindowsDir, "\\system.bak");
    if (!WriteNewSystemIni(iniPath, newPath, line, flags))
        return MOUSE_LINE_NOT_WRITTEN;
    remove(bakPath);
    if (rename(iniPath, bakPath) != 0)
        return MOUSE_LINE_NOT_RENAMED;
    if (rename(newPath, iniPath) != 0) {
        rename(bakPath, iniPath);   /* never leave Windows without a system.ini */
        return MOUSE_LINE_NOT_RENAMED;
    }
    return MOUSE_LINE_REPLACED;
}

int ReadSystemIniMouseLine(const char *name, char *line, int size)
{
    char path[INI_PATH_SIZE];
    CopyText(path, sizeof path, SetupState.WindowsDir);
    AppendText(path, sizeof path, "\\");
    AppendText(path, sizeof path, name);
    line[0] = 0;
    FILE *in = fopen(path, "rt");
    if (!in)
        return 0;
    int found = FindMouseLine(in, line, size);
    fclose(in);
    return found;
}

int FindVmousePaths(char *vxd, char *bak)
{
    char systemDir[80];
    UINT length = GetSystemDirectoryA(systemDir, sizeof systemDir);
    if (length == 0 || length >= sizeof systemDir)
        return 0;   /* a directory name that does not fit is left unread */
    PathIn(vxd, VMOUSE_PATH_SIZE, systemDir, "\\VMM32\\VMOUSE.VXD");
    PathIn(bak, VMOUSE_PATH_SIZE, systemDir, "\\VMM32\\VMOUSE.BAK");
    return 1;
}
