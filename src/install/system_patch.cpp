/* Points Windows at the virtual mouse driver: the mouse line of system.ini becomes
   "mouse=*vmouse", or is added (the old file kept as system.bak), and the stock
   VMOUSE.VXD is set aside. */
#include <stdio.h>
#include <windows.h>
#include "copy_page.h"
#include "../shared/system_ini.h"
#include "../shared/ini_rewrite.h"

static void SetVmouseAside(void)
{
    char vxd[VMOUSE_PATH_SIZE], bak[VMOUSE_PATH_SIZE];
    if (!FindVmousePaths(vxd, bak))
        return;
    if (GetFileAttributesA(vxd) == INVALID_FILE_ATTRIBUTES)
        return;   /* an existing VMOUSE.BAK may be the stock driver's only copy */
    DeleteFileA(bak);
    rename(vxd, bak);
}

void PatchSystemIni(void)
{
    int flags = MOUSE_LINE_EVERY_SECTION | MOUSE_LINE_ADD_MISSING;
    if (ReplaceSystemIniMouseLine("mouse=*vmouse\n", flags) == MOUSE_LINE_NOT_WRITTEN)
        return;   /* nothing is changed when system.ini cannot be rewritten whole */
    SetVmouseAside();
}
