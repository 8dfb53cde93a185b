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

static MouseTexts KindTexts(int serial)
{
    MouseTexts t;
    t.typeName = serial ? "Serial" : "PS2";
    t.name = serial ? SetupState.SeialName : SetupState.PS2Name;
    t.section = serial ? SetupState.SerialInfSection : SetupState.PS2InfSection;
    t.detFunc = serial ? "*:DETECTSERIALMOUSE" : "*:DETECTPS2MOUSE";
    return t;
}

static void SetMouseTypeName(const MouseTexts *t)
{
    CopyText(SetupState.MouseTypeName, sizeof SetupState.MouseTypeName, t->typeName);
}

/* 1 when written; otherwise the key under HKEY_LOCAL_MACHINE is noted as failed. */
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

/* A prior value into the record of the mouse type being registered; 0, noted, when the
   record cannot be written. */
static int RecordFailed(void)
{
    char record[RECORD_PATH_SIZE];
    InstalledScriptPath(record, sizeof record);
    return NoteFailure(IDS_CANNOTRECORD, record);
}

static int Recorded(const char *key, const char *value)
{
    return RecordPriorValue(SetupState.MouseTypeName, key, value) || RecordFailed();
}

/* Records the value's old text under its own name, then writes the new one. A value
   whose old text cannot be recorded is left alone. */
static int ReplaceRecorded(HKEY key, const char *path, const char *name, const char *text)
{
    char old[VALUE_SIZE];
    ReadOldValue(key, name, old, sizeof old);
    return Recorded(name, old) && Wrote(SetRegText(key, name, text), path);
}

int FindHardwareNode(const char *prefix, char *found)
{
    HKEY list;
    int opened = OpenRegKeyIfThere(HKEY_DYN_DATA, LIVE_LIST, &list);
    if (opened <= 0)
        return opened;
    int matched = 0;
    char name[80];
    for (DWORD i = 0;; i++) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(list, i, name, &length, 0, 0, 0, 0) != ERROR_SUCCESS)
            break;
        HKEY device;
        int there = OpenRegKeyIfThere(list, name, &device);
        if (there < 0)
            matched = -1;   /* a device that cannot be looked at may be the mouse */
        if (there <= 0)
            continue;
        char hardwareKey[FOUND_SIZE];
        int readable = ReadRegText(device, "HardWareKey", hardwareKey, sizeof hardwareKey);
        RegCloseKey(device);
        /* the node is opened as "Enum\" + this text in 80 characters: a longer text
           would name a different key once cut, so it does not count */
        if (readable && ContainsText(hardwareKey, prefix) &&
            lstrlenA("Enum\\") + lstrlenA(hardwareKey) < VALUE_SIZE) {
            CopyText(found, FOUND_SIZE, hardwareKey);
            matched = matched < 0 ? -1 : 1;
        }
    }
    RegCloseKey(list);
    return matched;
}

int NextFreeClassKey(char *classKey)
{
    ClassNumbering numbering;
    StartClassNumbering(&numbering);
    HKEY mouse;
    int opened = OpenRegKeyIfThere(HKEY_LOCAL_MACHINE, CLASS_ROOT "Mouse", &mouse);
    if (opened < 0)
        return Wrote(0, CLASS_ROOT "Mouse");   /* a number chosen blind could be taken */
    if (opened) {
        char name[80];
        for (DWORD i = 0;; i++) {
            DWORD length = sizeof name;
            LONG result = RegEnumKeyExA(mouse, i, name, &length, 0, 0, 0, 0);
            if (result == ERROR_MORE_DATA)
                continue;   /* too long to be a Mouse\NNNN number; ending here could
                               choose a number that exists after it */
            if (result != ERROR_SUCCESS || !TakeClassName(&numbering, name))
                break;
        }
        RegCloseKey(mouse);
    }
    wsprintfA(classKey, "Mouse\\%04d", NextClassNumber(&numbering));
    return 1;
}

/* The class key's path; 0, noted, when the name is too long to be held whole. */
static int ClassKeyPath(const char *classKey, char *path)
{
    CopyText(path, CLASS_PATH_SIZE, CLASS_ROOT);
    AppendText(path, CLASS_PATH_SIZE, classKey);
    if (lstrlenA(CLASS_ROOT) + lstrlenA(classKey) < CLASS_PATH_SIZE)
        return 1;
    return NoteKeyFailure(IDS_CANNOTWRITEKEY, HKEY_LOCAL_MACHINE, path);   /* named cut */
}

int CreateClassKey(const char *classKey, const char *nameText, const char *sectionText)
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
    RegCloseKey(key);
    return Wrote(written, path) && KeyWritten(path);
}

int UpdateClassKey(const char *classKey, const char *nameText, const char *sectionText)
{
    char path[CLASS_PATH_SIZE];
    if (!ClassKeyPath(classKey, path))
        return 0;
    HKEY key;
    int opened = OpenRegKeyIfThere(HKEY_LOCAL_MACHINE, path, &key);
    if (opened < 0)
        return Wrote(0, path);   /* there, and not to be taken for a key that is not */
    if (!Recorded("SubKey2", path)) {
        if (opened)
            RegCloseKey(key);
        return 0;
    }
    if (!opened)
        return CreateClassKey(classKey, nameText, sectionText);
    int updated = ReplaceRecorded(key, path, "MouseDriver", SetupState.MouseDriver) &&
                  ReplaceRecorded(key, path, "InfPath", SetupState.MouseInf) &&
                  ReplaceRecorded(key, path, "DriverDesc", nameText) &&
                  ReplaceRecorded(key, path, "DriverDate", SetupState.DriverDate) &&
                  ReplaceRecorded(key, path, "InfSection", sectionText) &&
                  Wrote(SetRegText(key, "MouseType", SetupState.MouseTypeName), path);
    RegCloseKey(key);
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

/* 1 when the detected node's Driver is one setup wrote: recorded as not there before;
   -1, noted, when the record cannot be read. */
static int DriverIsOwn(void)
{
    char recorded[RECORD_VALUE_SIZE];
    int noted = ReadRecordedValue(SetupState.MouseTypeName, "Driver", recorded);
    if (noted < 0)
        return RecordFailed() - 1;
    return noted && !recorded[0];
}

/* The class key a reused node names is updated (setup's own is written again); a node
   without one gets a new one. */
static int BindClassKey(HKEY node, const char *path, const MouseTexts *t)
{
    char driver[CLASS_PATH_SIZE];
    int whole = ReadRegText(node, "Driver", driver, sizeof driver);
    int own = DriverIsOwn();
    if (own < 0)
        return 0;
    if (whole && driver[0])
        return own ? CreateClassKey(driver, t->name, t->section)
                   : UpdateClassKey(driver, t->name, t->section);
    if (whole || !HasRegValue(node, "Driver"))
        return BindNewClassKey(node, path, t, 1);
    /* a Driver too long to be read whole names a key that cannot be updated; it is not
       overwritten either, since nothing could record it */
    return Wrote(0, path);
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
    SetMouseTypeName(&t);
    if (!opened)
        return Wrote(0, path);
    int bound = Recorded("SubKey1", path) &&
                ReplaceRecorded(node, path, "DeviceDesc", t.name) &&
                Wrote(SetRegZeroFlags(node, "ConfigFlags"), path) &&
                ReplaceRecorded(node, path, "Mfg", SetupState.Mfg) &&
                BindClassKey(node, path, &t);
    RegCloseKey(node);
    return bound && KeyWritten(path);
}

/* Road 3: the program's own root-enumerated node. */
static int CreateOwnNode(void)
{
    MouseTexts t = KindTexts(SetupState.MouseKind != 0);
    HKEY node;
    int created = CreateRegKey(HKEY_LOCAL_MACHINE, OWN_NODE, &node);
    SetMouseTypeName(&t);
    if (!created)
        return Wrote(0, OWN_NODE);
    int bound = Wrote(SetRegText(node, "Class", "Mouse") &&
                      SetRegText(node, "DeviceDesc", t.name) &&
                      SetRegText(node, "Mfg", SetupState.Mfg) &&
                      SetRegZeroFlags(node, "ConfigFlags") &&
                      SetRegZeroFlags(node, "DetFlags") &&
                      SetRegText(node, "DetFunc", t.detFunc), OWN_NODE) &&
                BindNewClassKey(node, OWN_NODE, &t, 0);
    RegCloseKey(node);
    return bound && KeyWritten(OWN_NODE);
}

/* One probe of the live device list: 1 when a device matched; a list that could not be
   looked through whole sets failed. */
static int Probe(const char *prefix, char *found, int *failed)
{
    int matched = FindHardwareNode(prefix, found);
    if (matched < 0)
        *failed = 1;
    return matched > 0;
}

int RegisterMouseDevice(int withProduct)
{
    if (withProduct && !RegisterProduct())
        return 0;
    char serialEnum[32];
    CopyText(serialEnum, sizeof serialEnum, "SERENUM\\");
    AppendText(serialEnum, sizeof serialEnum, SetupState.PnpID);
    AppendText(serialEnum, sizeof serialEnum, "\\");

    char found[FOUND_SIZE] = "";
    int failed = 0;
    int ps2Found = Probe("BIOS\\*PNP0F13\\", found, &failed) ||
                   Probe("BIOS\\*PNP0F0E\\", found, &failed) ||
                   Probe("ROOT\\*PNP0F0E\\", found, &failed);
    if (failed)
        return NoteKeyFailure(IDS_CANNOTWRITEKEY, HKEY_DYN_DATA, LIVE_LIST);
    if (ps2Found && SetupState.MouseKind == 0)
        return ReuseDeviceNode(found, 0);
    int serialFound = Probe("ROOT\\*PNP0F0C\\", found, &failed) ||
                      Probe(serialEnum, found, &failed);
    if (failed)
        return NoteKeyFailure(IDS_CANNOTWRITEKEY, HKEY_DYN_DATA, LIVE_LIST);
    if (serialFound && SetupState.MouseKind == 1)
        return ReuseDeviceNode(found, 1);
    return CreateOwnNode();
}
