/* Registering the mouse application and the mouse device with Windows. */
#ifndef REGISTRATION_H
#define REGISTRATION_H

/* The property-page handler, the start-up entry and the uninstall entry. */
void RegisterProduct(void);

/* Binds the driver to a detected or an own mouse device node; with withProduct set,
   RegisterProduct runs first. */
void RegisterMouseDevice(int withProduct);

/* Searches the live device list for a hardware key containing prefix; 1 and the whole
   key text in found (FOUND_SIZE bytes), or 0 with found unchanged. */
#define FOUND_SIZE 128
int FindHardwareNode(const char *prefix, char *found);

/* "Mouse\NNNN" for the first gap in the numbering of the mouse class keys. */
int NextFreeClassKey(char *classKey);

void UpdateClassKey(const char *classKey, const char *nameText, const char *sectionText);
void CreateClassKey(const char *classKey, const char *nameText, const char *sectionText);

#endif
