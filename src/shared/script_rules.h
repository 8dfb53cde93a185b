/* The setup-script loader's rules, apart from how the script is read. No platform calls:
   SETUP.EXE reads the file whole and looks its values up (script_source.cpp), the
   package checker, built natively, through its own reading of the same INI format. */
#ifndef SCRIPT_RULES_H
#define SCRIPT_RULES_H

#include "script_source.h"
#include "file_table.h"

/* Everything from [Main] DefaultPath on, into SetupState and a new file table;
   1, or 0 when the counts cannot be laid out or the table cannot be had. */
int LoadScriptValues(void);

/* ProductName, a blank and the string-table text textId, as the caption (setup's:
   IDS_SETUPPROGRAM, also when the script cannot be read). */
void BuildCaptionWith(unsigned int textId);
extern const char DefaultProductName[];

/* What the script says entry (a record of the loaded file table) expands to, or 0
   when it names no checksum for it. */
const FileCheck *FileCheckOf(const FileEntry *entry);

/* The directory slot a file line's keyword names (any case), or -1 for none. */
int FindDirectorySlot(const char *keyword);

#endif
