/* Binds the installed mouse driver to a mouse device: a detected PS/2 or serial node
   from the live device list is reused, or the program's own root node is made; the
   node points at a driver class key Mouse\NNNN. Every value overwritten in an existing
   node or class key is first recorded in the installed SETUP.INF; a value that cannot
   be recorded is not overwritten. The registration stops at the first key or value it
   cannot write, with the failure noted. */
#include "registration.h"
#include "run_observer.h"
#include "../shared/registry_values.h"
#include "class_numbering.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/prior_values.h"
#include "../shared/product_keys.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"

#define VALUE_SIZE 80       /* old values and node paths */
#define LIVE_LIST "Config Manager\\Enum"
#define CLASS_PATH_SIZE 128

/* The texts of one mouse kind. */
struct MouseTexts {
    const char *typeName;
    const char *name;
    const char *section;
    const char *detFunc;
};

/* The kind's texts; MouseTypeName, the record's section for it, is set with them. */
static MouseTexts KindTexts(int serial)
{
    MouseTexts t;
    t.typeName = serial ? "Serial" : "PS2";
    t.name = serial ? SetupState.SeialName : SetupState.PS2Name;
    t.section = serial ? SetupState.SerialInfSection : SetupState.PS2InfSection;
    t.detFunc = serial ? "*:DETECTSERIALMOUSE" : "*:DETECTPS2MOUSE";
    CopyText(SetupState.MouseTypeName, sizeof SetupState.MouseTypeName, t.typeName);
    return t;
}

/* 1 when written; otherwise the key under HKEY_LOCAL_MACHINE is noted as failed. A key
   that cannot be read is noted so too (Wrote(0, ...)): nothing of it can be recorded. */
static int Wrote(int written, const char *path)
{
    return written || NoteKeyFailure(IDS_CANNOTWRITEKEY, HKEY_LOCAL_MACHINE, path);
}

/* A key under HKEY_LOCAL_MACHINE whose values are written, told; 1. */
static int KeyWritten(const char *path)
{
    TellKeyWritten(HKEY_LOCAL_MACHINE, path);
    return 1;
}

static int Recorded(const char *key, const char *value)
{
    return RecordPriorValue(SetupState.MouseTypeName, key, value) || NoteRecordFailure(IDS_CANNOTRECORD);
}

/* Records the value's old text under its own name (an empty text: it was absent), then
   writes the new one. A value whose old text cannot be read, or recorded whole, is
   left alone. */
static int ReplaceRecorded(HKEY key, const char *path, const char *name, const char *text)
{
    char *old;
    if (!ReadRegValue(key, name, &old))
        return Wrote(0, path);
    int fits = !old || lstrlenA(old) < RECORD_VALUE_SIZE;
    int recorded = fits ? Recorded(name, old ? old : "") : NoteRecordFailure(IDS_CANNOTRECORD);
    FreeRegText(old);
    return recorded && Wrote(SetRegText(key, name, text), path);
}

/* One device of the live list: 1, and *matched 1 with its hardware key in found when
   the key holds prefix; 0 when it cannot be read. */
static int MatchDevice(HKEY list, const char *name, const char *prefix, char *found,
                       int *matched)
{
    HKEY device;
    char *hardwareKey = 0;
    if (!OpenRegKey(list, name, &device) || (device && !ReadRegValue(device, "HardWareKey",
                                                                     &hardwareKey))) {
        CloseRegKey(device);
        return 0;   /* a device that cannot be looked at may be the mouse */
    }
    CloseRegKey(device);
    /* the node is opened as "Enum\" + this text in 80 characters: a longer text would
       name a different key once cut, so it does not count */
    if (hardwareKey && ContainsText(hardwareKey, prefix) &&
        lstrlenA("Enum\\") + lstrlenA(hardwareKey) < VALUE_SIZE) {
        CopyText(found, FOUND_SIZE, hardwareKey);
        *matched = 1;
    }
    FreeRegText(hardwareKey);
    return 1;
}

int FindHardwareNode(const char *prefix, char *found, int *matched)
{
    HKEY list;
    *matched = 0;
    if (!OpenRegKey(HKEY_DYN_DATA, LIVE_LIST, &list))
        return NoteKeyFailure(IDS_CANNOTWRITEKEY, HKEY_DYN_DATA, LIVE_LIST);
    if (!list)
        return 1;
    int read = 1;
    char name[256];
    for (DWORD i = 0; read && (read = RegSubkeyName(list, i, name, sizeof name)) && name[0]; i++)
        read = MatchDevice(list, name, prefix, found, matched);
    CloseRegKey(list);
    return read || NoteKeyFailure(IDS_CANNOTWRITEKEY, HKEY_DYN_DATA, LIVE_LIST);
}

int NextFreeClassKey(char *classKey)
{
    ClassNumbering numbering;
    StartClassNumbering(&numbering);
    HKEY mouse;
    if (!OpenRegKey(HKEY_LOCAL_MACHINE, CLASS_ROOT "Mouse", &mouse))
        return Wrote(0, CLASS_ROOT "Mouse");   /* a number chosen blind could be taken */
    char name[256];
    int read = 1;
    for (DWORD i = 0; mouse && (read = RegSubkeyName(mouse, i, name, sizeof name)) && name[0]; i++)
        if (lstrlenA(name) < 80 && !TakeClassName(&numbering, name))
            break;   /* a longer name is no Mouse\NNNN number: ending at it could choose a
                        number that exists after it */
    CloseRegKey(mouse);
    if (!read)
        return Wrote(0, CLASS_ROOT "Mouse");
    wsprintfA(classKey, "Mouse\\%04d", NextClassNumber(&numbering));
    return 1;
}

/* The class key's path; 0, noted, when the name is too long to be held whole. */
static int ClassKeyPath(const char *classKey, char *path)
{
    return ComposeClassKeyPath(classKey, TextLength(classKey), path, CLASS_PATH_SIZE) ||
           Wrote(0, path);   /* named cut */
}

static int CreateClassKey(const char *classKey, const char *nameText, const char *sectionText)
{
    char path[CLASS_PATH_SIZE];
    HKEY key;
    if (!ClassKeyPath(classKey, path))
        return 0;
    if (!CreateRegKey(HKEY_LOCAL_MACHINE, path, &key))
        return Wrote(0, path);
    int written = SetRegText(key, "DevLoader", "*vmouse") &&
                  SetRegText(key, "MouseType", SetupState.MouseTypeName) &&
                  SetRegText(key, "MouseDriver", SetupState.MouseDriver) &&
                  SetRegText(key, "InfPath", SetupState.MouseInf) &&
                  SetRegText(key, "DriverDesc", nameText) &&
                  SetRegText(key, "DriverDate", SetupState.DriverDate) &&
                  SetRegText(key, "InfSection", sectionText);
    CloseRegKey(key);
    return Wrote(written, path) && KeyWritten(path);
}

static int UpdateClassKey(const char *classKey, const char *nameText, const char *sectionText)
{
    char path[CLASS_PATH_SIZE];
    if (!ClassKeyPath(classKey, path))
        return 0;
    HKEY key;
    if (!OpenRegKey(HKEY_LOCAL_MACHINE, path, &key))
        return Wrote(0, path);   /* there, and not to be taken for a key that is not */
    if (!Recorded("SubKey2", path)) {
        CloseRegKey(key);
        return 0;
    }
    if (!key)
        return CreateClassKey(classKey, nameText, sectionText);
    int updated = ReplaceRecorded(key, path, "MouseDriver", SetupState.MouseDriver) &&
                  ReplaceRecorded(key, path, "InfPath", SetupState.MouseInf) &&
                  ReplaceRecorded(key, path, "DriverDesc", nameText) &&
                  ReplaceRecorded(key, path, "DriverDate", SetupState.DriverDate) &&
                  ReplaceRecorded(key, path, "InfSection", sectionText) &&
                  Wrote(SetRegText(key, "MouseType", SetupState.MouseTypeName), path);
    CloseRegKey(key);
    return updated && KeyWritten(path);
}

/* A new class key for the node at path, named in its Driver value first, so that the
   uninstaller finds the key through the node whatever was made of it. On a detected
   node the record notes that it had no Driver and which key setup made: the key is
   then setup's own, deleted by the uninstaller and never recorded as the node's old
   one by a later registration. */
static int BindNewClassKey(HKEY node, const char *path, const MouseTexts *t, int detected)
{
    char classKey[16], classPath[CLASS_PATH_SIZE];
    if (!NextFreeClassKey(classKey) || !ClassKeyPath(classKey, classPath) ||
        (detected && !(Recorded("Driver", "") && Recorded("SubKey2", classPath))))
        return 0;
    return Wrote(SetRegText(node, "Driver", classKey), path) &&
           CreateClassKey(classKey, t->name, t->section);
}

/* 1 and *own 1 when the detected node's Driver is one setup wrote: recorded as not
   there before; 0, noted, when the record cannot be read. */
static int DriverIsOwn(int *own)
{
    char recorded[RECORD_VALUE_SIZE];
    int noted;
    if (!ReadRecordedValue(SetupState.MouseTypeName, "Driver", recorded, &noted))
        return NoteRecordFailure(IDS_CANNOTRECORD);
    *own = noted && !recorded[0];
    return 1;
}

/* The class key a reused node names is updated (setup's own is written again); a node
   without one gets a new one. */
static int BindClassKey(HKEY node, const char *path, const MouseTexts *t)
{
    char *driver;
    int own = 0;
    if (!ReadRegValue(node, "Driver", &driver))
        return Wrote(0, path);
    int bound;
    if (!DriverIsOwn(&own))
        bound = 0;
    else if (!driver || !driver[0])
        bound = BindNewClassKey(node, path, t, 1);
    else if (lstrlenA(driver) < CLASS_PATH_SIZE)
        bound = own ? CreateClassKey(driver, t->name, t->section)
                    : UpdateClassKey(driver, t->name, t->section);
    else   /* names a key that cannot be updated; it is not overwritten either, since
              nothing could record it */
        bound = Wrote(0, path);
    FreeRegText(driver);
    return bound;
}

/* Roads 1 and 2: the detected node found, with the PS/2 or the serial texts. */
static int ReuseDeviceNode(const char *found, int serial)
{
    MouseTexts t = KindTexts(serial);
    char path[VALUE_SIZE];
    CopyText(path, sizeof path, "Enum\\");
    AppendText(path, sizeof path, found);
    HKEY node;
    int opened = OpenRegKey(HKEY_LOCAL_MACHINE, path, &node);
    if (!opened || !node)
        return Wrote(0, path);   /* a live device whose node is not there, or unreadable */
    int bound = Recorded("SubKey1", path) &&
                ReplaceRecorded(node, path, "DeviceDesc", t.name) &&
                Wrote(SetRegZeroFlags(node, "ConfigFlags"), path) &&
                ReplaceRecorded(node, path, "Mfg", SetupState.Mfg) &&
                BindClassKey(node, path, &t);
    CloseRegKey(node);
    return bound && KeyWritten(path);
}

/* Road 3: the program's own root-enumerated node. */
static int CreateOwnNode(void)
{
    MouseTexts t = KindTexts(SetupState.MouseKind != 0);
    HKEY node;
    int created = CreateRegKey(HKEY_LOCAL_MACHINE, OWN_NODE, &node);
    if (!created)
        return Wrote(0, OWN_NODE);
    int bound = Wrote(SetRegText(node, "Class", "Mouse") &&
                      SetRegText(node, "DeviceDesc", t.name) &&
                      SetRegText(node, "Mfg", SetupState.Mfg) &&
                      SetRegZeroFlags(node, "ConfigFlags") &&
                      SetRegZeroFlags(node, "DetFlags") &&
                      SetRegText(node, "DetFunc", t.detFunc), OWN_NODE) &&
                BindNewClassKey(node, OWN_NODE, &t, 0);
    CloseRegKey(node);
    return bound && KeyWritten(OWN_NODE);
}

/* The first of the prefixes that a device of the live list holds: 1, and *matched 1
   with the device's hardware key in found; 0, noted, when the list cannot be read. */
static int Probe(const char *const *prefixes, int count, char *found, int *matched)
{
    *matched = 0;
    for (int i = 0; i < count && !*matched; i++)
        if (!FindHardwareNode(prefixes[i], found, matched))
            return 0;
    return 1;
}

int RegisterMouseDevice(int withProduct)
{
    if (withProduct && !RegisterProduct())
        return 0;
    char serialEnum[32];
    CopyText(serialEnum, sizeof serialEnum, "SERENUM\\");
    AppendText(serialEnum, sizeof serialEnum, SetupState.PnpID);
    AppendText(serialEnum, sizeof serialEnum, "\\");
    const char *const ps2[] = { "BIOS\\*PNP0F13\\", "BIOS\\*PNP0F0E\\", "ROOT\\*PNP0F0E\\" };
    const char *const serial[] = { "ROOT\\*PNP0F0C\\", serialEnum };

    char found[FOUND_SIZE] = "";
    int matched;
    if (!Probe(ps2, 3, found, &matched))
        return 0;
    if (matched && SetupState.MouseKind == 0)
        return ReuseDeviceNode(found, 0);
    if (!Probe(serial, 2, found, &matched))
        return 0;
    if (matched && SetupState.MouseKind == 1)
        return ReuseDeviceNode(found, 1);
    return CreateOwnNode();
}
