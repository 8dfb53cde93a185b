/* system.ini in the Windows directory and the stock VMOUSE.VXD: the file work both
   programs do when they change which mouse driver Windows loads. */
#ifndef SYSTEM_INI_H
#define SYSTEM_INI_H

#define INI_PATH_SIZE 128

/* The mouse line setup writes. */
#define NEW_MOUSE_LINE "mouse=*vmouse"

/* Writes system.ini with its mouse line replaced by line as RewriteMouseLine does with
   flags (ini_rewrite.h) into system.new, then system.ini becomes system.bak and
   system.new system.ini. A file that cannot be carried over whole is left alone;
   system.ini is never lost, nor the system.bak before it until the new one is in
   place; a read-only system.bak is not replaced. A read-only system.ini stays so under
   its new text, and the system.bak made of it is left writable, for the way back to
   replace. Until system.ini is whole under its name again, WININIT.INI holds a line
   that gives the next start a copy of the old one. 1; 0, noted as the file that could
   not be changed (IDS_CANNOTCHANGEFILE) with the error of the call that failed. */
int ReplaceSystemIniMouseLine(const char *line, int flags);

/* The path of the file of that name in the Windows directory, in INI_PATH_SIZE bytes. */
void WindowsFilePath(const char *name, char *path);

/* The mouse line of the file of that name in the Windows directory, as FindMouseLine
   (ini_rewrite.h) gives it: 1 when the file could be read (or is not there), with
   *found 1 and the line (empty when the section has none), or *found 0 when there is
   no such file, no [386Enh] section, or a line that does not fit; 0 when the file
   cannot be read. */
int ReadSystemIniMouseLine(const char *name, char *line, int size, int *found);

/* The paths of VMM32\VMOUSE.VXD and VMM32\VMOUSE.BAK in the system directory (128
   bytes each); 0 when the system directory's name does not fit its buffer. */
#define VMOUSE_PATH_SIZE 128
int FindVmousePaths(char *vxd, char *bak);

#endif
