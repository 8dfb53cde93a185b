/* Where the full wizard and the unattended run refuse to start. */
#ifndef REFUSALS_H
#define REFUSALS_H

/* 1 when the Run key's ZennoMouse value names KXMAIN.EXE that is still on the disk (or
   its uninstaller is). */
int IsMouseAppRegistered(void);

/* 1 when setup may run; otherwise 0, with the refusal noted, in the order the checks
   are made: another mouse program running or registered (IDS_OTHERMOUSE), not the
   Windows 95/98 family (IDS_WRONGPLATFORM). */
int MayRun(void);

#endif
