/* Pointing Windows at the virtual mouse driver. */
#ifndef SYSTEM_PATCH_H
#define SYSTEM_PATCH_H

/* Rewrites system.ini so that Windows loads the *vmouse driver, the mouse line it
   replaces recorded first, and sets the stock VMOUSE.VXD aside; 1, or 0 with what
   failed noted and system.ini as it was. */
int PatchSystemIni(void);

#endif
