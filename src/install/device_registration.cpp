/* Binds the installed mouse driver to a mouse device: a detected PS/2 or serial node
   from the live device list is reused, or the program's own root node is made; the
   node points at a driver class key Mouse\NNNN. Every value overwritten in an existing
   node or class key is first recorded in the installed SETUP.INF. */
#include "registration.h"
#include "../shared/registry_values.h"
#include "class_numbering.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/prior_values.h"
#include "../shared/product_keys.h"

#define VALUE_SIZE 80       /* old values and node paths */
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

/* Records the value's old text under its own name, then writes the new one. */
static void ReplaceRecorded(HKEY key, const char *name, const char *text)
{
    char old[VALUE_SIZE];
    ReadOldValue(key, name, old, sizeof old);
    RecordPriorValue(SetupState.MouseTypeName, name, old);
    SetRegText(key, name, text);
}

int FindHardwareNode(const char *prefix, char *found)
{
    HKEY list;
    if (!OpenRegKey(HKEY_DYN_DATA, "Config Manager\\Enum", &list))
        return 0;
    int matched = 0;
    char name[80];
    for (DWORD i = 0;; i++) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(list, i, name, &length, 0, 0, 0, 0) != ERROR_SUCCESS)
            break;
        HKEY device;
        if (!OpenRegKey(list, name, &device))
            continue;
        char hardwareKey[FOUND_SIZE];
        int readable = ReadRegText(device, "HardWareKey", hardwareKey, sizeof hardwareKey);
        RegCloseKey(device);
        /* the node is opened as "Enum\" + this text in 80 characters: a longer text
           would name a different key once cut, so it does not count */
        if (readable && ContainsText(hardwareKey, prefix) &&
            lstrlenA("Enum\\") + lstrlenA(hardwareKey) < VALUE_SIZE) {
            CopyText(found, FOUND_SIZE, hardwareKey);
            matched = 1;
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
    if (OpenRegKey(HKEY_LOCAL_MACHINE, CLASS_ROOT "Mouse", &mouse)) {
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

/* The class key's path, or 0 when the name is too long to be held whole. */
static int ClassKeyPath(const char *classKey, char *path)
{
    if (lstrlenA(CLASS_ROOT) + lstrlenA(classKey) >= CLASS_PATH_SIZE)
        return 0;
    CopyText(path, CLASS_PATH_SIZE, CLASS_ROOT);
    AppendText(path, CLASS_PATH_SIZE, classKey);
    return 1;
}

void CreateClassKey(const char *classKey, const char *nameText, const char *sectionText)
{
    char path[CLASS_PATH_SIZE];
    HKEY key;
    if (!ClassKeyPath(classKey, path) || !CreateRegKey(HKEY_LOCAL_MACHINE, path, &key))
        return;
    SetRegText(key, "DevLoader", "*vmouse");
    SetRegText(key, "MouseType", SetupState.MouseTypeName);
    SetRegText(key, "MouseDriver", SetupState.MouseDriver);
    SetRegText(key, "InfPath", SetupState.MouseInf);
    SetRegText(key, "DriverDesc", nameText);
    SetRegText(key, "DriverDate", SetupState.DriverDate);
    SetRegText(key, "InfSection", sectionText);
    RegCloseKey(key);
}

void UpdateClassKey(const char *classKey, const char *nameText, const char *sectionText)
{
    char path[CLASS_PATH_SIZE];
    if (!ClassKeyPath(classKey, path))
        return;
    HKEY key;
    int opened = OpenRegKey(HKEY_LOCAL_MACHINE, path, &key);
    RecordPriorValue(SetupState.MouseTypeName, "SubKey2", path);
    if (!opened) {
        CreateClassKey(classKey, nameText, sectionText);
        return;
    }
    ReplaceRecorded(key, "MouseDriver", SetupState.MouseDriver);
    ReplaceRecorded(key, "InfPath", SetupState.MouseInf);
    ReplaceRecorded(key, "DriverDesc", nameText);
    ReplaceRecorded(key, "DriverDate", SetupState.DriverDate);
    ReplaceRecorded(key, "InfSection", sectionText);
    SetRegText(key, "MouseType", SetupState.MouseTypeName);
    RegCloseKey(key);
}

/* A new class key for the node, named in its Driver value. */
static void BindNewClassKey(HKEY node, const MouseTexts *t)
{
    char classKey[16];
    NextFreeClassKey(classKey);
    SetRegText(node, "Driver", classKey);
    CreateClassKey(classKey, t->name, t->section);
}

/* Roads 1 and 2: the detected node found, with the PS/2 or the serial texts. */
static void ReuseDeviceNode(const char *found, int serial)
{
    MouseTexts t = KindTexts(serial);
    char path[VALUE_SIZE];
    CopyText(path, sizeof path, "Enum\\");
    AppendText(path, sizeof path, found);
    HKEY node;
    int opened = OpenRegKey(HKEY_LOCAL_MACHINE, path, &node);
    SetMouseTypeName(&t);
    if (!opened)
        return;
    RecordPriorValue(SetupState.MouseTypeName, "SubKey1", path);
    ReplaceRecorded(node, "DeviceDesc", t.name);
    SetRegZeroFlags(node, "ConfigFlags");
    ReplaceRecorded(node, "Mfg", SetupState.Mfg);
    char driver[CLASS_PATH_SIZE];
    int whole = ReadRegText(node, "Driver", driver, sizeof driver);
    if (whole && driver[0])
        UpdateClassKey(driver, t.name, t.section);
    else if (whole || !HasRegValue(node, "Driver"))
        BindNewClassKey(node, &t);
    /* a Driver too long to be read whole names a key that cannot be updated; it is not
       overwritten either, since nothing could record it */
    RegCloseKey(node);
}

/* Road 3: the program's own root-enumerated node. */
static void CreateOwnNode(void)
{
    MouseTexts t = KindTexts(SetupState.MouseKind != 0);
    HKEY node;
    int created = CreateRegKey(HKEY_LOCAL_MACHINE, OWN_NODE, &node);
    SetMouseTypeName(&t);
    if (!created)
        return;
    SetRegText(node, "Class", "Mouse");
    SetRegText(node, "DeviceDesc", t.name);
    SetRegText(node, "Mfg", SetupState.Mfg);
    SetRegZeroFlags(node, "ConfigFlags");
    SetRegZeroFlags(node, "DetFlags");
    SetRegText(node, "DetFunc", t.detFunc);
    BindNewClassKey(node, &t);
    RegCloseKey(node);
}

void RegisterMouseDevice(int withProduct)
{
    if (withProduct)
        RegisterProduct();
    char serialEnum[32];
    CopyText(serialEnum, sizeof serialEnum, "SERENUM\\");
    AppendText(serialEnum, sizeof serialEnum, SetupState.PnpID);
    AppendText(serialEnum, sizeof serialEnum, "\\");

    char found[FOUND_SIZE] = "";
    int ps2Found = FindHardwareNode("BIOS\\*PNP0F13\\", found) ||
                   FindHardwareNode("BIOS\\*PNP0F0E\\", found) ||
                   FindHardwareNode("ROOT\\*PNP0F0E\\", found);
    if (ps2Found && SetupState.MouseKind == 0) {
        ReuseDeviceNode(found, 0);
        return;
    }
    int serialFound = FindHardwareNode("ROOT\\*PNP0F0C\\", found) ||
                      FindHardwareNode(serialEnum, found);
    if (serialFound && SetupState.MouseKind == 1)
        ReuseDeviceNode(found, 1);
    else
        CreateOwnNode();
}
