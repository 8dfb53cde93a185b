/* The reads the setup-script loader's rules (script_rules.h) make, which each build
   provides: SETUP.EXE's (script_source.cpp), while the script is open, and the
   package checker's. */
#ifndef SCRIPT_SOURCE_H
#define SCRIPT_SOURCE_H

/* The script at path read whole: 1, or 0 when it is not there or cannot be read. */
int OpenScriptSource(const char *path);
void CloseScriptSource(void);

/* Each build provides these two reads of the script: a text value into buf (size bytes,
   at most size - 1 characters kept; read through a 256-byte buffer), and a number. */
void ReadScriptText(const char *section, const char *key, const char *fallback,
                    char *buf, int size);
int ReadScriptNumber(const char *section, const char *key, int fallback);

/* And these two: the DefaultPath value turned into OfferedDir (the program-files
   directory from where the build finds it), and the zero-filled blocks for files
   records plus the group items and for their checks (1 or 0; ReleaseFileTable frees
   what was had). */
void ApplyDefaultPath(const char *value);
int AllocateFileTable(short files);

#endif
