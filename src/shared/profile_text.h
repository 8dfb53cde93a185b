/* An INI file's text read the way the private-profile services read it (as measured
   under Wine): lines split at line feeds, blanks, carriage returns and Ctrl+Z trimmed
   at both ends; a line "[name]" starts a section (the name is what stands before the
   last ']', without its outer blanks; what precedes the first section is a section
   without a name); other lines are "key=value" (blanks around the '=' removed) or a key
   without a value. Names are matched without regard to case, in the first section of
   that name only, and there the first key of that name counts. A value in matching
   quotes loses them. No platform calls: the programs read a file whole and check
   every step of it, which the profile services do not let them do, and the package
   checker reads the same way. */
#ifndef PROFILE_TEXT_H
#define PROFILE_TEXT_H

/* 1 for what the profile reading skips around names and values: blanks, line ends and
   the end-of-file mark. */
int IsProfileBlank(char c);

struct ProfileText {
    const char *text;
    int length;
};

/* As GetPrivateProfileStringA: the key's value, or fallback (trailing blanks removed)
   when the key, or its value, is missing; at most size - 1 characters, quotes removed.
   Returns the length written. */
int ProfileString(const ProfileText *t, const char *section, const char *key,
                  const char *fallback, char *buf, int size);

/* As GetPrivateProfileIntA: the value as a number (leading blanks and a sign allowed,
   then decimal digits, or hexadecimal, octal or binary ones after "0x", "0o" or "0b",
   up to the first other character, in 32 bits), or fallback when the key is missing
   or its value empty. */
unsigned int ProfileNumber(const ProfileText *t, const char *section, const char *key,
                           int fallback);

/* As GetPrivateProfileSectionA lists the first section of that name: each line as
   "key=value" or "key", ending in a NUL, and the list in an empty line, at most size
   bytes of it into lines. Returns the bytes the whole list takes. */
int ProfileSection(const ProfileText *t, const char *section, char *lines, int size);

#endif
