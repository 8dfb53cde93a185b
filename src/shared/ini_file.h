/* An INI file read whole, every step of it checked: the private-profile services answer
   a file they cannot read as if the key were not there, which would let a failure pass
   for an absence. Writes still go through those services, which keep other lines. */
#ifndef INI_FILE_H
#define INI_FILE_H

#include "profile_text.h"

/* 1 and the file's text in t (FreeIniFile frees it); 1 and an empty text when there is
   no such file; 0 when it is there and cannot be read (another program holds it, a
   disk error, no memory). */
int ReadIniFile(const char *path, ProfileText *t);
void FreeIniFile(ProfileText *t);

/* The profile services' cache written to the disk, in the form Windows 95 documents
   (every parameter 0) and in the file's own form, which Wine and NT take; neither
   answers whether it worked, so a write that matters is read back from the file. */
void FlushProfileCache(const char *path);

/* An empty text that FreeIniFile may be given. */
void NoIniText(ProfileText *t);

#endif
