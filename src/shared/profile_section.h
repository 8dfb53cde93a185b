/* A whole section of an INI file, read through the private-profile services. */
#ifndef PROFILE_SECTION_H
#define PROFILE_SECTION_H

#include <windows.h>

/* The section's lines as GetPrivateProfileSectionA lists them (each ends in a NUL, the
   list in an empty line at *used), in a buffer grown until they fit, with room bytes to
   spare after them; GlobalFree it. 0 when the section cannot be read whole. */
char *ReadWholeSection(const char *file, const char *section, DWORD room, DWORD *used);

#endif
