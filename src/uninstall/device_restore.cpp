/* Puts the mouse device back as the record in the installed SETUP.INF describes it:
   sections "PS2" and "Serial" hold the node (SubKey1) and class key (SubKey2) that
   setup reused, with the values they held before; a value recorded empty was absent.
   The program's own node and the class keys setup made are deleted. */
#include "uninstall.h"
#include "device_restore.h"
#include "../shared/product_keys.h"
#include "../shared/registry_values.h"
#include "../shared/prior_values.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

#define CLASS_PATH_SIZE 128

static const char *const NodeValues[] = { "DeviceDesc", "Mfg" };
static const char *const ClassValues[] = { "MouseDriver", "InfPath", "DriverDesc", "DriverDate",
                                           "InfSection" };

/* 1 and *any 1 when the record holds one of the names; 0, noted, when it cannot be read. */
static int AnyRecorded(const char *section, const char *const *names, int count, int *any)
{
    char value[RECORD_VALUE_SIZE];
    *any = 0;
    for (int i = 0; i < count && !*any; i++)
        if (!ReadRecord(section, names[i], value, any))
            return 0;
    return 1;
}

/* Each recorded value back into the key; one recorded empty is deleted. A key that is
   gone has nothing to take them. */
static int PutBackValues(const char *section, const char *path, const char *const *names,
                         int count)
{
    HKEY key;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, path, &key))
        return 0;
    int done = 1;
    for (int i = 0; key && i < count; i++) {
        char value[RECORD_VALUE_SIZE];
        int recorded;
        if (!ReadRecord(section, names[i], value, &recorded)) {
            done = 0;
            continue;
        }
        if (recorded &&
            !(value[0] ? SetRegText(key, names[i], value) : DeleteRegValue(key, names[i])))
            done = NoteKeyFailure(IDS_CANNOTRESTOREKEY, HKEY_LOCAL_MACHINE, path);
    }
    CloseRegKey(key);
    return done;
}

/* A key's text value that may not be there: 1 and *text (0 when absent); 0, noted, when
   it cannot be read. */
static int ReadKeyValue(HKEY key, const char *path, const char *name, char **text)
{
    return ReadRegValue(key, name, text) || NoteKeyFailure(IDS_CANNOTREADKEY, HKEY_LOCAL_MACHINE, path);
}

/* The class key path of a node's Driver text ("Mouse\NNNN"); 0 for any other text. */
static int ClassKeyOfDriver(const char *driver, char *path)
{
    return driver && BeginsWithNoCase(driver, "Mouse\\") && driver[6] &&
           ComposeClassKeyPath(driver, TextLength(driver), path, CLASS_PATH_SIZE);
}

/* Deletes a class key that setup made, recognised by the package's MouseDriver: 1, and
   *gone 1 when it is gone, 0 when it holds another driver and stays; 0, noted, when it
   cannot be read or deleted. */
static int RemovePackageClassKey(const char *path, int *gone)
{
    HKEY key;
    char *driver = 0;
    *gone = 1;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, path, &key))
        return 0;
    if (!key)
        return 1;
    int read = ReadKeyValue(key, path, "MouseDriver", &driver);
    CloseRegKey(key);
    int ours = read && driver && SameTextNoCase(driver, SetupState.MouseDriver);
    FreeRegText(driver);
    if (!read)
        return 0;
    *gone = ours;
    return !ours || DeleteRegTree(HKEY_LOCAL_MACHINE, path);
}

/* A reused node that had no Driver: setup bound it to a class key of its own. */
static int UnbindNewClassKey(const char *nodePath)
{
    HKEY node;
    char *driver = 0, classPath[CLASS_PATH_SIZE];
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, nodePath, &node))
        return 0;
    int done = !node || ReadKeyValue(node, nodePath, "Driver", &driver);
    int gone = 0;
    if (done && ClassKeyOfDriver(driver, classPath)) {
        done = RemovePackageClassKey(classPath, &gone);
        if (done && gone && !DeleteRegValue(node, "Driver"))
            done = NoteKeyFailure(IDS_CANNOTRESTOREKEY, HKEY_LOCAL_MACHINE, nodePath);
    }
    FreeRegText(driver);
    CloseRegKey(node);
    return done;
}

static int RestoreSection(const char *section)
{
    char node[RECORD_VALUE_SIZE], classKey[RECORD_VALUE_SIZE], driver[RECORD_VALUE_SIZE];
    int hasNode, hasClass, hasDriver, classValues, gone;
    /* a record that cannot be read is not guessed at */
    if (!ReadRecord(section, "SubKey1", node, &hasNode) ||
        !ReadRecord(section, "SubKey2", classKey, &hasClass) ||
        !ReadRecord(section, "Driver", driver, &hasDriver) ||
        !AnyRecorded(section, ClassValues, 5, &classValues))
        return 0;
    /* the record is a file anybody can edit: only device nodes and mouse class keys */
    hasNode = hasNode && BeginsWithNoCase(node, "Enum\\");
    hasClass = hasClass && BeginsWithNoCase(classKey, CLASS_ROOT);
    int hadNoDriver = hasDriver && !driver[0];
    int done = !hasNode || PutBackValues(section, node, NodeValues, 2);
    if (hasClass && classValues)
        return PutBackValues(section, classKey, ClassValues, 5) && done;
    if (hasClass && !hadNoDriver)   /* the node named a key that was not there */
        return RemovePackageClassKey(classKey, &gone) && done;
    if (hasNode)   /* setup bound a node that had no Driver (recorded so, or in records
                      made before it was) */
        return UnbindNewClassKey(node) && done;
    return done;
}

/* The root-enumerated node setup makes when no mouse was detected, and its class key;
   the node stays while its class key does, so that a second run finds it again. */
static int RemoveNodeAndClassKey(HKEY node)
{
    char *driver = 0, classPath[CLASS_PATH_SIZE];
    int read = ReadKeyValue(node, OWN_NODE, "Driver", &driver);
    int bound = read && ClassKeyOfDriver(driver, classPath);
    FreeRegText(driver);
    CloseRegKey(node);
    if (!read)
        return 0;
    return (!bound || DeleteRegTree(HKEY_LOCAL_MACHINE, classPath)) &&
           DeleteRegTree(HKEY_LOCAL_MACHINE, OWN_NODE);
}

static int RemoveOwnNode(void)
{
    HKEY node;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, OWN_NODE, &node))
        return 0;
    if (node && !RemoveNodeAndClassKey(node))
        return 0;
    /* also when an earlier run removed the node and not this key */
    return DeleteRegKeyIfEmpty(HKEY_LOCAL_MACHINE, OWN_NODE_PARENT, 0);
}

int RestoreMouseDevice(void)
{
    int ps2 = RestoreSection("PS2");
    int serial = RestoreSection("Serial");
    return RemoveOwnNode() && ps2 && serial;
}
