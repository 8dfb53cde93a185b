/* The platform side of the script loader for the native build: the reads through the
   INI reading of profile_file.cpp, the string-table texts from loader_texts.inc (the
   same lines setup.rc puts in the table), plain memory for the file table. */
#include "native_loader.h"
#include <stdlib.h>
#include "profile_file.h"
#include "shared/setup_state.h"
#include "shared/bounded_text.h"
#include "shared/script_loader.h"
#include "shared/script_rules.h"
#include "shared/default_path.h"
#include "resource.h"

static const struct { unsigned int id; const char *text; } LoaderTexts[] = {
#define LOADER_TEXT(id, text) { id, text },
#include "loader_texts.inc"
#undef LOADER_TEXT
};

static char TextRing[4][256];
static int TextRingIndex = 4;

/* As in SETUP.EXE: four rotating buffers, null for an id without a text. */
char *ResourceText(unsigned int id)
{
    TextRingIndex = TextRingIndex < 3 ? TextRingIndex + 1 : 0;
    char *text = TextRing[TextRingIndex];
    for (const auto &t : LoaderTexts)
        if (t.id == (id & 0xFFFF)) {
            CopyText(text, sizeof TextRing[0], t.text);
            return text;
        }
    return 0;
}

void ReadScriptText(const char *section, const char *key, const char *fallback,
                    char *buf, int size)
{
    char work[256];
    ReadProfileString(section, key, fallback, work, sizeof work);
    CopyText(buf, size, work);
}

int ReadScriptNumber(const char *section, const char *key, int fallback)
{
    return (int)ReadProfileInt(section, key, fallback);
}

/* There is no registry to ask: the program-files directory is Windows 95's default. */
void ApplyDefaultPath(const char *value)
{
    ComposeOfferedDir(SetupState.OfferedDir, sizeof SetupState.OfferedDir, value,
                      SetupState.WindowsDir[0], IsDrivePath(value) ? "" : "C:\\Program Files");
}

int AllocateFileTable(short files)
{
    size_t bytes = (size_t)files * FILE_ENTRY_SIZE + GROUP_ITEM_COUNT * GROUP_ITEM_SIZE;
    SetupState.FileTableBase = (BYTE *)calloc(1, bytes);
    SetupState.FileTableHandle = SetupState.FileTableBase;
    SetupState.FileChecks = (FileCheck *)calloc((size_t)files + 1, sizeof(FileCheck));
    return SetupState.FileTableBase && SetupState.FileChecks;
}

void ReleaseFileTable(void)
{
    free(SetupState.FileChecks);
    SetupState.FileChecks = 0;
    free(SetupState.FileTableBase);
    SetupState.FileTableBase = 0;
    SetupState.FileTableHandle = 0;
}

int LoadScriptFromProfile(void)
{
    ReleaseFileTable();
    SetupState = SETUPSTATE();
    CopyText(SetupState.WindowsDir, sizeof SetupState.WindowsDir, NATIVE_WINDOWS_DIR);
    return LoadScriptValues();
}

int LoadScriptFile(const char *path)
{
    OpenProfileFile(path);
    return LoadScriptFromProfile();
}
