/* SETUP.INF read natively the way the private-profile services read an INI file
   (GetPrivateProfileStringA / GetPrivateProfileIntA, as measured under Wine): lines split
   at line feeds, blanks, carriage returns and Ctrl+Z trimmed at both ends; a line
   "[name]" starts a section (the name is what stands before the last ']', without its
   outer blanks; what precedes the first section is a section without a name); other
   lines are "key=value" (blanks around the '=' removed) or a key without a value. Names
   are matched without regard to case, in the first section of that name only, and there
   the first key of that name counts. A value in matching quotes loses them. */
#ifndef PROFILE_FILE_H
#define PROFILE_FILE_H

#include <stddef.h>
#include <string>
#include <vector>

/* Takes the file at path as the profile; a missing file is an empty profile, as for the
   platform. 1 when the file was read, 0 when it is missing or unreadable. */
int OpenProfileFile(const char *path);

/* Takes text (length bytes) as the profile. */
void UseProfileText(const char *text, size_t length);

/* GetPrivateProfileStringA: the value, or fallback (trailing blanks removed), at most
   size - 1 characters, quotes removed; returns the length of what was written. */
int ReadProfileString(const char *section, const char *key, const char *fallback,
                      char *buf, int size);

/* GetPrivateProfileIntA: the value read as a number (through a 30-character buffer,
   leading blanks and a sign allowed, then decimal digits, or hexadecimal, octal or binary
   ones after "0x", "0o" or "0b", up to the first other character, in 32 bits), or
   fallback when the key is missing or its value is empty. */
unsigned int ReadProfileInt(const char *section, const char *key, int fallback);

/* The names of the keys with a value in the first section of that name, in file order,
   repeated names included, comments (";...") left out. */
std::vector<std::string> ProfileKeys(const char *section);

/* The value of the first key of that name in the first section of that name as the file
   writes it: quotes kept, outer blanks removed; "" when it has none. Written back as the
   value of a key, it reads as this one does. */
std::string ProfileWrittenValue(const char *section, const char *key);

#endif
