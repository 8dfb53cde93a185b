/* The setup-script loader's rules, apart from how the script is read. No platform calls:
   SETUP.EXE reads through the private-profile services, the package checker, built
   natively, through its own reading of the same INI format. */
#ifndef SCRIPT_RULES_H
#define SCRIPT_RULES_H

/* Each build provides these two reads of the script: a text value into buf (size bytes,
   at most size - 1 characters kept; read through a 256-byte buffer), and a number. */
void ReadScriptText(const char *section, const char *key, const char *fallback,
                    char *buf, int size);
int ReadScriptNumber(const char *section, const char *key, int fallback);

/* And these two: the DefaultPath value turned into InstallDir (the program-files
   directory from where the build finds it), and the zero-filled block for files
   records plus the group items (1 or 0). */
void ApplyDefaultPath(const char *value);
int AllocateFileTable(short files);

/* Everything from [Main] DefaultPath on, into SetupState and a new file table;
   1, or 0 when the counts cannot be laid out or the table cannot be had. */
int LoadScriptValues(void);

/* Caption from ProductName; also used when the script cannot be found. */
void BuildCaption(void);
extern const char DefaultProductName[];

/* The directory slot a file line's keyword names (any case), or -1 for none. */
int FindDirectorySlot(const char *keyword);

#endif
