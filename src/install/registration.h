/* Registering the mouse application and the mouse device with Windows. */
#ifndef REGISTRATION_H
#define REGISTRATION_H

/* The uninstall entry, the property-page handler and the start-up entry; 1, or 0 with
   the key that could not be written noted (failure_note.h). */
int RegisterProduct(void);

/* Binds the driver to a detected or an own mouse device node; with withProduct set,
   RegisterProduct runs first. 1, or 0 with what failed noted. */
int RegisterMouseDevice(int withProduct);

/* Searches the live device list for a hardware key containing prefix: 1 when the list
   was looked through, with *matched 1 and the whole key text in found (FOUND_SIZE
   bytes) for the last device that matched, or *matched 0 and found unchanged; 0, noted,
   when the list or one of its devices is there and cannot be read. */
#define FOUND_SIZE 128
int FindHardwareNode(const char *prefix, char *found, int *matched);

/* "Mouse\NNNN" for the first gap in the numbering of the mouse class keys; 0, noted,
   when the class keys are there and cannot be looked through. */
int NextFreeClassKey(char *classKey);

#endif
