/* The mouse device put back by the SETUP.INF record: a part of the way back for an
   installation made before the install log. */
#ifndef DEVICE_RESTORE_H
#define DEVICE_RESTORE_H

/* The recorded values, the own node; 1 when nothing failed, else 0, noted. */
int RestoreMouseDevice(void);

#endif
