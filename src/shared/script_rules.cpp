/* The setup-script loader's rules. Every missing section or key has a default, so a
   missing file is no error. No platform calls: the reads, the string-table texts, the
   program-files directory and the file table's memory come from the build's own units. */
#include "script_rules.h"
#include "script_field.h"
#include "setup_state.h"
#include "bounded_text.h"
#include "path_text.h"
#include "../../resources/shared_strings.h"

const char DefaultProductName[] = "Orvel";

/* A text value with section and key names from the string table; the key is fetched first. */
static void ReadScriptTextById(unsigned int sectionId, unsigned int keyId, const char *fallback,
                               char *buf, int size)
{
    char *key = ResourceText(keyId);
    char *section = ResourceText(sectionId);
    ReadScriptText(section, key, fallback, buf, size);
}

/* The decimal key of file line or group item n (n >= 1). */
static void NumberKey(char *key, int size, int n)
{
    char digits[12];
    int count = 0;
    do {
        digits[count++] = (char)('0' + n % 10);
        n /= 10;
    } while (n && count < (int)sizeof digits);
    int i = 0;
    for (; i < size - 1 && count > 0; i++)
        key[i] = digits[--count];
    key[i] = 0;
}

void BuildCaptionWith(unsigned int textId)
{
    CopyText(SetupState.Caption, sizeof SetupState.Caption, SetupState.ProductName);
    AppendText(SetupState.Caption, sizeof SetupState.Caption, " ");
    AppendText(SetupState.Caption, sizeof SetupState.Caption, ResourceText(textId));
}

static void ReadMainSection(void)
{
    char work[256];
    ReadScriptTextById(IDS_MAIN, IDS_DEFAULTPATH, "C:\\ORVEL", work, sizeof work);
    ApplyDefaultPath(work);
    ReadScriptTextById(IDS_MAIN, IDS_GROUPNAME, "ORVEL.GRP",
                       SetupState.GroupName, sizeof SetupState.GroupName);
    ReadScriptTextById(IDS_MAIN, IDS_GROUPTITLE, "ORVEL",
                       SetupState.GroupTitle, sizeof SetupState.GroupTitle);
    ReadScriptTextById(IDS_MAIN, IDS_PRODUCTNAME, DefaultProductName,
                       SetupState.ProductName, sizeof SetupState.ProductName);
    BuildCaptionWith(IDS_SETUPPROGRAM);
    char *key = ResourceText(IDS_MINIMUMSPACE);
    SetupState.MinimumSpace = (short)ReadScriptNumber(ResourceText(IDS_MAIN), key, 1024);
}

static void CountDisks(void)
{
    SetupState.DiskCount = 0;
    for (int k = 0; k < MAX_DISKS; k++) {
        ReadScriptTextById(IDS_DISKLABEL, IDS_DISK1 + k, "",
                           SetupState.DiskLabels[k], sizeof SetupState.DiskLabels[k]);
        if (SetupState.DiskLabels[k][0])
            SetupState.DiskCount++;
    }
}

static void ReadDirectorySlots(void)
{
    for (int slot = 0; slot < DIRECTORY_SLOTS; slot++)
        ReadScriptTextById(IDS_DIRECTORYNAME, IDS_ROOTDIR + slot, "",
                           SetupState.DirectorySlots[slot], sizeof SetupState.DirectorySlots[slot]);
}

/* Per-disk file counts. A negative count counts as none; a total beyond 16 bits
   cannot be laid out in the table and fails the load. */
static int ReadFileCounts(void)
{
    int total = 0;
    for (int d = 0; d < SetupState.DiskCount; d++) {
        char *key = ResourceText(IDS_DISK1 + d);
        short count = (short)ReadScriptNumber(ResourceText(IDS_FILECOUNTS), key, 0);
        if (count < 0)
            count = 0;
        SetupState.DiskFileCount[d] = count;
        total += count;
    }
    if (total > 32767)
        return 0;
    SetupState.TotalFiles = (short)total;
    return 1;
}

static void FillTargetDir(FileEntry *entry, int slot)
{
    if (slot < SLOT_WINDIR) {
        CopyText(entry->TargetDir, sizeof entry->TargetDir, SetupState.DirectorySlots[slot]);
        entry->TargetIsAbsolute = 0;
        return;
    }
    /* cut to the field, as every value the loader keeps */
    JoinPath(entry->TargetDir, sizeof entry->TargetDir, SetupState.WindowsDir,
             slot == SLOT_WINSYSTEMDIR ? "SYSTEM" : slot == SLOT_WININFDIR ? "INF" : "");
    entry->TargetIsAbsolute = 1;
}

int FindDirectorySlot(const char *keyword)
{
    for (int slot = 0; slot < DIRECTORY_SLOTS; slot++)
        if (SameTextNoCase(keyword, ResourceText(IDS_ROOTDIR + slot)))
            return slot;
    return -1;
}

static void FillFileEntry(FileEntry *entry, const char *line)
{
    char field[SCRIPT_FIELD_SIZE];
    line = SplitScriptField(line, field);
    CopyText(entry->SourceName, sizeof entry->SourceName, field);
    line = SplitScriptField(line, field);
    CopyText(entry->TargetName, sizeof entry->TargetName, field);
    line = SplitScriptField(line, field);
    CopyText(entry->Description, sizeof entry->Description, field);
    SplitScriptField(line, field);
    int slot = FindDirectorySlot(field);
    if (slot < 0)
        return;
    CopyText(entry->SourceDir, sizeof entry->SourceDir, SetupState.DirectorySlots[slot]);
    FillTargetDir(entry, slot);
}

static void ReadFileLines(void)
{
    for (int d = 0; d < SetupState.DiskCount; d++)
        for (int k = 0; k < SetupState.DiskFileCount[d]; k++) {
            char key[8], line[256];
            NumberKey(key, sizeof key, k + 1);
            ReadScriptText(ResourceText(IDS_DISK1 + d), key, "", line, sizeof line);
            if (line[0])
                FillFileEntry(SetupState.DiskFirstEntry[d] + k, line);
        }
}

/* The digits of text in base (10 or 16) into *value; 0 for anything else, or more
   than 32 bits. */
static int ReadDigits(const char *text, unsigned base, unsigned long *value)
{
    unsigned long long n = 0;
    for (const char *p = text; *p; p++) {
        char c = LowerLetter(*p);
        unsigned digit = c >= '0' && c <= '9' ? (unsigned)(c - '0')
                       : c >= 'a' && c <= 'f' ? (unsigned)(c - 'a' + 10) : 16;
        if (digit >= base || (n = n * base + digit) > 0xFFFFFFFFull)
            return 0;
    }
    *value = (unsigned long)n;
    return text[0] != 0;
}

/* Each entry's [Checksums] value, keyed by its source name: the expanded size in
   decimal and the CRC-32 in hexadecimal. A value of another form names no checksum. */
static void ReadFileChecks(void)
{
    const FileEntry *first = SetupState.DiskFirstEntry[0];
    for (int i = 0; i < SetupState.TotalFiles; i++) {
        char value[256], size[SCRIPT_FIELD_SIZE], crc[SCRIPT_FIELD_SIZE];
        FileCheck *check = &SetupState.FileChecks[i];
        if (!first[i].SourceName[0])
            continue;
        ReadScriptText("Checksums", first[i].SourceName, "", value, sizeof value);
        SplitScriptField(SplitScriptField(value, size), crc);
        check->Known = ReadDigits(size, 10, &check->Size) && ReadDigits(crc, 16, &check->Crc);
    }
}

const FileCheck *FileCheckOf(const FileEntry *entry)
{
    const FileCheck *check = &SetupState.FileChecks[entry - SetupState.DiskFirstEntry[0]];
    return check->Known ? check : 0;
}

static void ReadGroupItems(void)
{
    GroupItem *items = (GroupItem *)SetupState.DiskFirstEntry[SetupState.DiskCount];
    SetupState.GroupItemCount = 0;
    for (int n = 0; n < GROUP_ITEM_COUNT; n++) {
        char key[8], line[256], field[SCRIPT_FIELD_SIZE];
        NumberKey(key, sizeof key, n + 1);
        ReadScriptText(ResourceText(IDS_PMINFO), key, "", line, sizeof line);
        if (!line[0])
            break;
        SetupState.GroupItemCount++;
        const char *rest = SplitScriptField(line, field);
        CopyText(items[n].Name, sizeof items[n].Name, field);
        rest = SplitScriptField(rest, field);
        CopyText(items[n].Title, sizeof items[n].Title, field);
        SplitScriptField(rest, field);
        CopyText(items[n].Flags, sizeof items[n].Flags, field);
    }
}

#define STARTUP_TEXT(id, field) { id, SetupState.field, sizeof SetupState.field }

static void ReadStartupSection(void)
{
    const struct { unsigned int key; char *field; int size; } texts[] = {
        STARTUP_TEXT(IDS_FILENAME, FileName),
        STARTUP_TEXT(IDS_TITLE, Title),
        STARTUP_TEXT(IDS_MFG, Mfg),
        STARTUP_TEXT(IDS_MOUSEDRIVER, MouseDriver),
        STARTUP_TEXT(IDS_MOUSEINF, MouseInf),
        STARTUP_TEXT(IDS_DRIVERDATE, DriverDate),
        STARTUP_TEXT(IDS_PS2INFSECTION, PS2InfSection),
        STARTUP_TEXT(IDS_SERIALINFSECTION, SerialInfSection),
        STARTUP_TEXT(IDS_PS2NAME, PS2Name),
        STARTUP_TEXT(IDS_SEIALNAME, SeialName),
    };
    for (unsigned i = 0; i < sizeof texts / sizeof texts[0]; i++)
        ReadScriptTextById(IDS_STARTUP, texts[i].key, "", texts[i].field, texts[i].size);
    ReadScriptText(ResourceText(IDS_STARTUP), "PnpID", "1234",
                   SetupState.PnpID, sizeof SetupState.PnpID);
}

int LoadScriptValues(void)
{
    ReadMainSection();
    CountDisks();
    ReadDirectorySlots();
    if (!ReadFileCounts() || !AllocateFileTable(SetupState.TotalFiles))
        return 0;
    FileEntry *entry = (FileEntry *)SetupState.FileTableBase;
    SetupState.DiskFirstEntry[0] = entry;
    for (int d = 0; d < SetupState.DiskCount; d++)
        SetupState.DiskFirstEntry[d + 1] = SetupState.DiskFirstEntry[d] + SetupState.DiskFileCount[d];
    ReadFileLines();
    ReadFileChecks();
    ReadGroupItems();
    SetupState.OEM = ReadScriptNumber(ResourceText(IDS_MAIN), "OEM", 0);
    SetupState.MouseKind = ReadScriptNumber(ResourceText(IDS_MAIN), "DefaultSerialMouse", 1);
    ReadStartupSection();
    return 1;
}
