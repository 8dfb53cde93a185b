/* Points Windows at the virtual mouse driver: system.ini is rewritten into system.new,
   the old file kept as system.bak, and the stock VMOUSE.VXD set aside. */
#include <stdio.h>
#include <windows.h>
#include "copy_page.h"
#include "../shared/ini_rewrite.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"

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
static int WriteNewSystemIni(const char *iniPath, const char *newPath)
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
    int ok = RewriteSystemIni(in, out);
    fclose(in);
    if (fclose(out) != 0)
        ok = 0;
    if (!ok)
        remove(newPath);   /* a cut-off copy must never become system.ini */
    return ok;
}

static void SetVmouseAside(void)
{
    char systemDir[80], vxd[128], bak[128];
    UINT length = GetSystemDirectoryA(systemDir, sizeof systemDir);
    if (length == 0 || length >= sizeof systemDir)
        return;   /* a directory name that does not fit is left unread */
    PathIn(vxd, sizeof vxd, systemDir, "\\VMM32\\VMOUSE.VXD");
    PathIn(bak, sizeof bak, systemDir, "\\VMM32\\VMOUSE.BAK");
    if (GetFileAttributesA(vxd) == INVALID_FILE_ATTRIBUTES)
        return;   /* an existing VMOUSE.BAK may be the stock driver's only copy */
    DeleteFileA(bak);
    rename(vxd, bak);
}

void PatchSystemIni(void)
{
    char iniPath[128], newPath[128], bakPath[128];
    PathIn(iniPath, sizeof iniPath, SetupState.WindowsDir, "\\system.ini");
    PathIn(newPath, sizeof newPath, SetupState.WindowsDir, "\\system.new");
    PathIn(bakPath, sizeof bakPath, SetupState.WindowsDir, "\\system.bak");
    if (!WriteNewSystemIni(iniPath, newPath))
        return;   /* nothing is changed when system.ini cannot be rewritten whole */
    remove(bakPath);
    if (rename(iniPath, bakPath) == 0 && rename(newPath, iniPath) != 0)
        rename(bakPath, iniPath);   /* never leave Windows without a system.ini */
    SetVmouseAside();
}
