/* Puts the mouse device back as the record in the installed SETUP.INF describes it:
   sections "PS2" and "Serial" hold the node (SubKey1) and class key (SubKey2) that
   setup reused, with the values they held before; a value recorded empty was absent.
   The program's own node and the class keys setup made are deleted. */
#include "uninstall.h"
#include "../shared/product_keys.h"
#include "../shared/registry_values.h"
#include "../shared/prior_values.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/failure_note.h"
#include "../../resources/uninstall_resource.h"

#define VALUE_SIZE RECORD_VALUE_SIZE
#define DRIVER_SIZE 128   /* as setup reads a node's Driver */
#define CLASS_PATH_SIZE 128

static const char *const NodeValues[] = { "DeviceDesc", "Mfg" };
static const char *const ClassValues[] = { "MouseDriver", "InfPath", "DriverDesc", "DriverDate",
                                           "InfSection" };

static int AnyRecorded(const char *section, const char *const *names, int count)
{
    char value[VALUE_SIZE];
    for (int i = 0; i < count; i++)
        if (Recorded(section, names[i], value))
            return 1;
    return 0;
}

/* Each recorded value back into the key; one recorded empty is deleted. A key that is
   gone has nothing to take them. */
static void PutBackValues(const char *section, const char *path, const char *const *names,
                          int count)
{
    HKEY key;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, path, &key))
        return;
    for (int i = 0; i < count; i++) {
        char value[VALUE_SIZE];
        if (!Recorded(section, names[i], value))
            continue;
        int done = value[0] ? SetRegText(key, names[i], value) : DeleteRegValue(key, names[i]);
        if (!done)
            NoteKeyFailure(IDS_CANNOTRESTOREKEY, HKEY_LOCAL_MACHINE, path);
    }
    RegCloseKey(key);
}

/* The class key path of a node's Driver text ("Mouse\NNNN"); 0 for any other text. */
static int ClassKeyOfDriver(const char *driver, char *path)
{
    if (!BeginsWithNoCase(driver, "Mouse\\") || !driver[6] ||
        lstrlenA(CLASS_ROOT) + lstrlenA(driver) >= CLASS_PATH_SIZE)
        return 0;
    CopyText(path, CLASS_PATH_SIZE, CLASS_ROOT);
    AppendText(path, CLASS_PATH_SIZE, driver);
    return 1;
}

/* Deletes a class key that setup made, recognised by the package's MouseDriver; 1 when
   it is gone, 0 when it holds another driver and stays. */
static int RemovePackageClassKey(const char *path)
{
    HKEY key;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, path, &key))
        return 1;
    char driver[DRIVER_SIZE];
    int ours = ReadRegText(key, "MouseDriver", driver, sizeof driver) &&
               SameTextNoCase(driver, SetupState.MouseDriver);
    RegCloseKey(key);
    if (!ours)
        return 0;
    if (DeleteRegTree(HKEY_LOCAL_MACHINE, path))
        return 1;
    return KeyNotRemoved(HKEY_LOCAL_MACHINE, path);
}

/* A reused node that had no Driver: setup bound it to a class key of its own. */
static void UnbindNewClassKey(const char *nodePath)
{
    HKEY node;
    if (!OpenKeyToChange(HKEY_LOCAL_MACHINE, nodePath, &node))
        return;
    char driver[DRIVER_SIZE], classPath[CLASS_PATH_SIZE];
    if (ReadRegText(node, "Driver", driver, sizeof driver) &&
        ClassKeyOfDriver(driver, classPath) && RemovePackageClassKey(classPath) &&
        !DeleteRegValue(node, "Driver"))
        NoteKeyFailure(IDS_CANNOTRESTOREKEY, HKEY_LOCAL_MACHINE, nodePath);
    RegCloseKey(node);
}

static void RestoreSection(const char *section)
{
    char node[VALUE_SIZE], classKey[VALUE_SIZE], driver[VALUE_SIZE];
    int failures = FailureCount();
    /* the record is a file anybody can edit: only device nodes and mouse class keys */
    int hasNode = Recorded(section, "SubKey1", node) && BeginsWithNoCase(node, "Enum\\");
    int hasClass = Recorded(section, "SubKey2", classKey) && BeginsWithNoCase(classKey, CLASS_ROOT);
    int hadNoDriver = Recorded(section, "Driver", driver) && !driver[0];
    int classValues = AnyRecorded(section, ClassValues, 5);
    if (FailureCount() != failures)
        return;   /* a record that cannot be read is not guessed at */
    if (hasNode)
        PutBackValues(section, node, NodeValues, 2);
    if (hasClass && classValues)
        PutBackValues(section, classKey, ClassValues, 5);
    else if (hasClass && !hadNoDriver)
        RemovePackageClassKey(classKey);   /* the node named a key that was not there */
    else if (hasNode)
        UnbindNewClassKey(node);   /* setup bound a node that had no Driver (recorded so,
                                      or in records made before it was) */
}

/* The root-enumerated node setup makes when no mouse was detected (opened as node),
   and its class key; 0 when the class key stays, and the node with it. */
static int RemoveNodeAndClassKey(HKEY node)
{
    char driver[DRIVER_SIZE], classPath[CLASS_PATH_SIZE];
    int bound = ReadRegText(node, "Driver", driver, sizeof driver) &&
                ClassKeyOfDriver(driver, classPath);
    RegCloseKey(node);
    if (bound && !DeleteRegTree(HKEY_LOCAL_MACHINE, classPath)) {
        KeyNotRemoved(HKEY_LOCAL_MACHINE, classPath);
        return 0;   /* the node stays, so that a second run finds the class key again */
    }
    if (!DeleteRegTree(HKEY_LOCAL_MACHINE, OWN_NODE))
        KeyNotRemoved(HKEY_LOCAL_MACHINE, OWN_NODE);
    return 1;
}

static void RemoveOwnNode(void)
{
    HKEY node;
    if (OpenKeyToChange(HKEY_LOCAL_MACHINE, OWN_NODE, &node) && !RemoveNodeAndClassKey(node))
        return;
    /* also when an earlier run removed the node and not this key */
    DeleteRegKeyIfEmpty(HKEY_LOCAL_MACHINE, OWN_NODE_PARENT);
}

void RestoreMouseDevice(void)
{
    RestoreSection("PS2");
    RestoreSection("Serial");
    RemoveOwnNode();
}
