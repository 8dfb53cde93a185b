// The product entries and the mouse-device registration against Wine's registry, with
// live devices made under HKEY_DYN_DATA by each test, and the prior values recorded in
// the SETUP.INF of a scratch InstallDir.
#include <gtest/gtest.h>
#include "testlib.h"
#include "install/registration.h"
#include "shared/prior_values.h"
#include "shared/failure_note.h"
#include "controller/controller.h"
#include "resource.h"

namespace {


// A value as stored: its type and its bytes.
struct Stored {
    DWORD type = 0;
    std::string data;
    bool present = false;
};
Stored ReadStored(HKEY root, const std::string &key, const char *name)
{
    Stored s;
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return s;
    char buf[1024];
    DWORD size = sizeof buf;
    if (RegQueryValueExA(k, name, 0, &s.type, (BYTE *)buf, &size) == ERROR_SUCCESS) {
        s.present = true;
        s.data.assign(buf, size);
    }
    RegCloseKey(k);
    return s;
}

// A REG_SZ value's text as the registry gives it back (Wine stores texts as UTF-16 and
// hands them back with a NUL; what the program passed is checked by the SetCalls below).
void ExpectText(HKEY root, const std::string &key, const char *name, const std::string &text)
{
    Stored s = ReadStored(root, key, name);
    ASSERT_TRUE(s.present) << key << " : " << (name ? name : "(default)");
    EXPECT_EQ((DWORD)REG_SZ, s.type) << key << " : " << (name ? name : "(default)");
    if (!s.data.empty() && s.data.back() == '\0')
        s.data.pop_back();
    EXPECT_EQ(text, s.data) << key << " : " << (name ? name : "(default)");
}

// Every RegSetValueExA call of the program, as it was made.
struct SetCall {
    std::string name;
    DWORD type;
    std::string bytes;
};
std::vector<SetCall> SetCalls;
void *RealSetValue;
LONG WINAPI RecordSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE *data,
                           DWORD size)
{
    SetCalls.push_back({name ? name : "", type, std::string((const char *)data, size)});
    typedef LONG(WINAPI * SetValue)(HKEY, LPCSTR, DWORD, DWORD, const BYTE *, DWORD);
    return ((SetValue)RealSetValue)(key, name, reserved, type, data, size);
}

// The test's own values, as other programs write them (with their NUL), unrecorded.
void RawSetText(HKEY key, const char *name, const std::string &text)
{
    typedef LONG(WINAPI * SetValue)(HKEY, LPCSTR, DWORD, DWORD, const BYTE *, DWORD);
    SetValue set = RealSetValue ? (SetValue)RealSetValue : RegSetValueExA;
    set(key, name, 0, REG_SZ, (const BYTE *)text.c_str(), (DWORD)text.size() + 1);
}

void ExpectZeroFlags(const std::string &key, const char *name)
{
    Stored s = ReadStored(HKEY_LOCAL_MACHINE, key, name);
    EXPECT_EQ((DWORD)REG_BINARY, s.type) << key << " : " << name;
    EXPECT_EQ(std::string(4, '\0'), s.data) << key << " : " << name;
}

bool KeyExists(HKEY root, const std::string &key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

void MakeKeyWithTexts(const std::string &key, std::vector<std::pair<const char *, std::string>> values)
{
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, 0, 0,
                                             KEY_ALL_ACCESS, 0, &k, 0));
    for (auto &v : values)
        RawSetText(k, v.first, v.second);
    RegCloseKey(k);
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        lstrcpyA(SetupState.InstallDir, dir_.Path().c_str());
        lstrcpyA(SetupState.Title, "Orvel Wheel Mouse");
        lstrcpyA(SetupState.Mfg, "Orvel");
        lstrcpyA(SetupState.MouseDriver, "kxmouse.drv");
        lstrcpyA(SetupState.MouseInf, "KXMOUSE.INF");
        lstrcpyA(SetupState.DriverDate, "10-12-1998");
        lstrcpyA(SetupState.PS2InfSection, "KXPS2");
        lstrcpyA(SetupState.SerialInfSection, "KXSERIAL");
        lstrcpyA(SetupState.PS2Name, "Orvel Wheel Mouse (PS/2)");
        lstrcpyA(SetupState.SeialName, "Orvel Wheel Mouse (Serial)");
        lstrcpyA(SetupState.PnpID, "1234");
        SetCalls.clear();
        RealSetValue = setValue_.Original();
        ASSERT_TRUE(setValue_.Applied());
    }
    void TearDown() override
    {
        // Texts go in with their length and no NUL, flags as four zero bytes.
        for (const SetCall &c : SetCalls) {
            if (c.type == REG_SZ)
                EXPECT_EQ(std::string::npos, c.bytes.find('\0')) << c.name << " written with its NUL";
            else
                EXPECT_EQ(std::string(4, '\0'), c.bytes) << c.name;
            EXPECT_TRUE(c.type == REG_SZ || c.type == REG_BINARY) << c.name;
        }
        ResetSetupState();
    }
    void Clean() { registry_.Restore(); }
    std::string Recorded(const char *section, const char *key)
    {
        char value[RECORD_VALUE_SIZE];
        int recorded;
        if (!ReadRecordedValue(section, key, value, &recorded))
            return "<unreadable>";
        return recorded ? value : "<absent>";
    }
    static std::string Node(const char *hardwareKey) { return std::string("Enum\\") + hardwareKey; }
    static std::string Class(const char *number) { return std::string(ClassMouseKey) + "\\" + number; }
    void ExpectNewClassKey(const char *number, const char *type, const char *name,
                           const char *section)
    {
        std::string key = Class(number);
        ExpectText(HKEY_LOCAL_MACHINE, key, "DevLoader", "*vmouse");
        ExpectText(HKEY_LOCAL_MACHINE, key, "MouseType", type);
        ExpectText(HKEY_LOCAL_MACHINE, key, "MouseDriver", "kxmouse.drv");
        ExpectText(HKEY_LOCAL_MACHINE, key, "InfPath", "KXMOUSE.INF");
        ExpectText(HKEY_LOCAL_MACHINE, key, "DriverDesc", name);
        ExpectText(HKEY_LOCAL_MACHINE, key, "DriverDate", "10-12-1998");
        ExpectText(HKEY_LOCAL_MACHINE, key, "InfSection", section);
    }
    void ExpectOwnNode(bool serial, const char *driver)
    {
        ExpectText(HKEY_LOCAL_MACHINE, OwnNodeKey, "Class", "Mouse");
        ExpectText(HKEY_LOCAL_MACHINE, OwnNodeKey, "DeviceDesc",
                   serial ? SetupState.SeialName : SetupState.PS2Name);
        ExpectText(HKEY_LOCAL_MACHINE, OwnNodeKey, "Mfg", "Orvel");
        ExpectZeroFlags(OwnNodeKey, "ConfigFlags");
        ExpectZeroFlags(OwnNodeKey, "DetFlags");
        ExpectText(HKEY_LOCAL_MACHINE, OwnNodeKey, "DetFunc",
                   serial ? "*:DETECTSERIALMOUSE" : "*:DETECTPS2MOUSE");
        ExpectText(HKEY_LOCAL_MACHINE, OwnNodeKey, "Driver", driver);
        EXPECT_STREQ(serial ? "Serial" : "PS2", SetupState.MouseTypeName);
    }
    RegistryGuard registry_;
    ScratchDir dir_{"reg"};
    ImportPatch setValue_{"advapi32.dll", "RegSetValueExA", (void *)RecordSetValue};
};

TEST_F(Registration, ProductEntriesWithTheirExactData)
{
    ScratchDir blanks("reg\\Orvel Mouse");
    lstrcpyA(SetupState.InstallDir, "C:\\t\\reg\\Orvel Mouse");
    RegisterProduct();
    ExpectText(HKEY_CLASSES_ROOT, ClsidKey, 0, "KXMouseControlPage");
    std::string server = std::string(ClsidKey) + "\\InProcServer32";
    ExpectText(HKEY_CLASSES_ROOT, server, 0, "C:\\t\\reg\\Orvel Mouse\\KXPAGE.DLL");
    ExpectText(HKEY_CLASSES_ROOT, server, "ThreadingModel", "Apartment");
    ExpectText(HKEY_LOCAL_MACHINE, HandlersKey, 0, "KXMousePage");
    ExpectText(HKEY_LOCAL_MACHINE, std::string(HandlersKey) + "\\KXMousePage", 0,
               "{7A3C91D2-5E48-11d2-9C6D-2B81E4F0A537}");
    // A program path holding a blank is quoted in the commands.
    ExpectText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse",
               "\"C:\\t\\reg\\Orvel Mouse\\KXMAIN.EXE\" -startup");
    ExpectText(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName", "Orvel Wheel Mouse");
    ExpectText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString",
               "\"C:\\t\\reg\\Orvel Mouse\\UNINSTAL.EXE\"");
    WriteWholeFile(blanks.Path() + "\\KXMAIN.EXE", "mouse application");
    EXPECT_EQ(1, IsMouseAppRegistered()) << "what a second full run looks for";
    // The uninstall entry first, the start-up value that makes setup refuse last.
    const char *order[] = {"DisplayName", "UninstallString", "", "", "ThreadingModel", "", "",
                           "ZennoMouse"};
    ASSERT_EQ(8u, SetCalls.size());
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(order[i], SetCalls[i].name) << "value " << i << " in step order";
    EXPECT_EQ("Apartment", SetCalls[4].bytes) << "nine bytes";

    // Without a Title the uninstall list shows the product's name, not an empty one.
    SetupState.Title[0] = 0;
    lstrcpyA(SetupState.ProductName, "Orvel");
    RegisterProduct();
    ExpectText(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName", "Orvel");
    EXPECT_EQ("DisplayName", SetCalls[8].name);

}

// RegCreateKeyExA refusing the product's first key, as a registry without write access
// to HKEY_CLASSES_ROOT would.
void *RealCreateKey;
LONG WINAPI RefuseClsidKey(HKEY root, LPCSTR sub, DWORD r, LPSTR cls, DWORD opt, REGSAM sam,
                           LPSECURITY_ATTRIBUTES sa, PHKEY key, LPDWORD disp)
{
    if (root == HKEY_CLASSES_ROOT && !lstrcmpiA(sub, ClsidKey))
        return ERROR_ACCESS_DENIED;
    typedef LONG(WINAPI * CreateKey)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM,
                                     LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD);
    return ((CreateKey)RealCreateKey)(root, sub, r, cls, opt, sam, sa, key, disp);
}

// A key that cannot be written stops the registration there, with the key named: the
// uninstall entry, written first, can take away what was written; the start-up value,
// which would make setup refuse, and the device are not written.
TEST_F(Registration, AFailingStepStopsTheRegistrationAndIsNamed)
{
    {
        ImportPatch refuse("advapi32.dll", "RegCreateKeyExA", (void *)RefuseClsidKey);
        ASSERT_TRUE(refuse.Applied());
        RealCreateKey = refuse.Original();
        EXPECT_EQ(0, RegisterMouseDevice(1));
    }
    EXPECT_FALSE(ReadStored(HKEY_CLASSES_ROOT, ClsidKey, 0).present) << "the refused key";
    ExpectText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", dir_.Path() + "\\UNINSTAL.EXE");
    EXPECT_FALSE(ReadStored(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse").present);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OwnNodeKey));
    char told[FAILURE_MESSAGE_SIZE];
    FailureMessage(told);
    EXPECT_NE(std::string::npos, std::string(told).find(std::string("HKEY_CLASSES_ROOT\\") + ClsidKey))
        << told;
}

TEST_F(Registration, DeviceOnlyWritesNoProductEntries)
{
    RegisterMouseDevice(0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClsidKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_FALSE(ReadStored(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse").present);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, HandlersKey));
    ExpectOwnNode(true, "Mouse\\0000");
    ExpectNewClassKey("0000", "Serial", "Orvel Wheel Mouse (Serial)", "KXSERIAL");
    ASSERT_FALSE(SetCalls.empty());
    EXPECT_EQ("Class", SetCalls[0].name);
    EXPECT_EQ("Mouse", SetCalls[0].bytes) << "five bytes";
}

TEST_F(Registration, LivePs2NodeIsReusedForPs2)
{
    LiveDevice device("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"),
                     {{"DeviceDesc", "Standard PS/2 Port Mouse"}, {"Mfg", "(Standard mouse types)"},
                      {"Class", "Mouse"}});
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    std::string node = Node("BIOS\\*PNP0F13\\0000");
    ExpectText(HKEY_LOCAL_MACHINE, node, "DeviceDesc", "Orvel Wheel Mouse (PS/2)");
    ExpectText(HKEY_LOCAL_MACHINE, node, "Mfg", "Orvel");
    ExpectZeroFlags(node, "ConfigFlags");
    ExpectText(HKEY_LOCAL_MACHINE, node, "Driver", "Mouse\\0000");
    EXPECT_FALSE(ReadStored(HKEY_LOCAL_MACHINE, node, "DetFlags").present);
    EXPECT_FALSE(ReadStored(HKEY_LOCAL_MACHINE, node, "DetFunc").present);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OwnNodeKey));
    ExpectNewClassKey("0000", "PS2", "Orvel Wheel Mouse (PS/2)", "KXPS2");
    EXPECT_STREQ("PS2", SetupState.MouseTypeName);

    EXPECT_EQ("Enum\\BIOS\\*PNP0F13\\0000", Recorded("PS2", "SubKey1"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Recorded("PS2", "DeviceDesc"));
    EXPECT_EQ("(Standard mouse types)", Recorded("PS2", "Mfg"));
    // The key setup made, and that the node had no Driver: both setup's own.
    EXPECT_EQ(Class("0000"), Recorded("PS2", "SubKey2"));
    EXPECT_EQ("", Recorded("PS2", "Driver"));
    EXPECT_EQ("<absent>", Recorded("PS2", "MouseDriver")) << "a new key's values are not old ones";
    EXPECT_EQ("<absent>", Recorded("Serial", "SubKey1"));
}

TEST_F(Registration, LivePs2NodeWithASerialChoiceTakesTheSerialRoads)
{
    LiveDevice ps2("C29A0010", "BIOS\\*PNP0F0E\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F0E\\0000"), {{"DeviceDesc", "PS/2 mouse"}});
    SetupState.MouseKind = 1;
    RegisterMouseDevice(0);
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F0E\\0000"), "DeviceDesc", "PS/2 mouse");
    ExpectOwnNode(true, "Mouse\\0000");
    ExpectNewClassKey("0000", "Serial", "Orvel Wheel Mouse (Serial)", "KXSERIAL");

    // The default PnpID probes the serial enumerator's SERENUM\1234\ key: road 2.
    Clean();
    LiveDevice serial("C29A0020", "SERENUM\\1234\\5&1");
    MakeKeyWithTexts(Node("SERENUM\\1234\\5&1"), {{"DeviceDesc", "Serial mouse"}, {"Mfg", "Old"}});
    RegisterMouseDevice(0);
    ExpectText(HKEY_LOCAL_MACHINE, Node("SERENUM\\1234\\5&1"), "DeviceDesc", "Orvel Wheel Mouse (Serial)");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OwnNodeKey));
    EXPECT_EQ("Enum\\SERENUM\\1234\\5&1", Recorded("Serial", "SubKey1"));
    EXPECT_EQ("Old", Recorded("Serial", "Mfg"));
    EXPECT_STREQ("Serial", SetupState.MouseTypeName);
}

TEST_F(Registration, NoLivePs2NodeAndOtherKindsTakeTheOwnNode)
{
    // PS/2 chosen, only a serial device alive: the own node with the PS/2 texts.
    LiveDevice serial("C29A0020", "ROOT\\*PNP0F0C\\0000");
    MakeKeyWithTexts(Node("ROOT\\*PNP0F0C\\0000"), {{"DeviceDesc", "Serial mouse"}});
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    ExpectOwnNode(false, "Mouse\\0000");
    ExpectNewClassKey("0000", "PS2", "Orvel Wheel Mouse (PS/2)", "KXPS2");
    ExpectText(HKEY_LOCAL_MACHINE, Node("ROOT\\*PNP0F0C\\0000"), "DeviceDesc", "Serial mouse");

    // A MouseKind the page never set (2): no live node is reused, the serial texts.
    Clean();
    LiveDevice ps2("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("ROOT\\*PNP0F0C\\0000"), {{"DeviceDesc", "Serial mouse"}});
    SetupState.MouseKind = 2;
    RegisterMouseDevice(0);
    ExpectOwnNode(true, "Mouse\\0000");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000")));
    ExpectText(HKEY_LOCAL_MACHINE, Node("ROOT\\*PNP0F0C\\0000"), "DeviceDesc", "Serial mouse");
}

// Whether a device of the live list holds prefix; the list itself must be readable.
int Matched(const char *prefix, char *found)
{
    int matched = -1;
    EXPECT_EQ(1, FindHardwareNode(prefix, found, &matched)) << "the live list was read";
    return matched;
}

TEST_F(Registration, HardwareKeysAreMatchedAsCaseSensitiveSubstringsLastOneWinning)
{
    char found[FOUND_SIZE] = "untouched";
    EXPECT_EQ(0, Matched("BIOS\\*PNP0F13\\", found));
    EXPECT_STREQ("untouched", found);
    {
        LiveDevice lower("C29A0001", "bios\\*pnp0f13\\0000");
        LiveDevice first("C29A0002", "BIOS\\*PNP0F13\\0000");
        LiveDevice inner("C29A0003", "ACPI\\BIOS\\*PNP0F13\\0001");
        LiveDevice other("C29A0004", "ROOT\\*PNP0F0C\\0000");
        LiveDevice tooLong("C29A0005", "BIOS\\*PNP0F13\\" + std::string(70, 'x'));
        EXPECT_EQ(1, Matched("BIOS\\*PNP0F13\\", found));
        EXPECT_STREQ("ACPI\\BIOS\\*PNP0F13\\0001", found)
            << "the last match that names a node whole, after leading characters";
        EXPECT_EQ(1, Matched("ROOT\\*PNP0F0C\\", found));
        EXPECT_STREQ("ROOT\\*PNP0F0C\\0000", found);
    }
    {
        LiveDevice lower("C29A0001", "bios\\*pnp0f13\\0000");
        EXPECT_EQ(0, Matched("BIOS\\*PNP0F13\\", found)) << "case counts";
    }

    // Two PS/2 devices: the one enumerated later is reused.
    LiveDevice a("C29A0010", "BIOS\\*PNP0F13\\0000");
    LiveDevice b("C29A0011", "BIOS\\*PNP0F13\\0001");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "first"}});
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0001"), {{"DeviceDesc", "second"}});
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "DeviceDesc", "first");
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0001"), "DeviceDesc", "Orvel Wheel Mouse (PS/2)");
}

TEST_F(Registration, ExistingClassKeyIsUpdatedWithItsOldValuesRecorded)
{
    LiveDevice device("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"Driver", "Mouse\\0002"}, {"Mfg", ""}});
    MakeKeyWithTexts(Class("0002"),
                     {{"DevLoader", "*oldloader"}, {"MouseType", "old"}, {"MouseDriver", "mouse.drv"},
                      {"InfPath", "MSMOUSE.INF"}, {"DriverDesc", "Standard PS/2 Port Mouse"},
                      {"DriverDate", "5-11-1998"}, {"InfSection", std::string(100, 's')}});
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    std::string key = Class("0002");
    ExpectText(HKEY_LOCAL_MACHINE, key, "DevLoader", "*oldloader");
    ExpectText(HKEY_LOCAL_MACHINE, key, "MouseType", "PS2");
    ExpectText(HKEY_LOCAL_MACHINE, key, "MouseDriver", "kxmouse.drv");
    ExpectText(HKEY_LOCAL_MACHINE, key, "InfPath", "KXMOUSE.INF");
    ExpectText(HKEY_LOCAL_MACHINE, key, "DriverDesc", "Orvel Wheel Mouse (PS/2)");
    ExpectText(HKEY_LOCAL_MACHINE, key, "DriverDate", "10-12-1998");
    ExpectText(HKEY_LOCAL_MACHINE, key, "InfSection", "KXPS2");
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "Driver", "Mouse\\0002");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Class("0000")));

    EXPECT_EQ("System\\CurrentControlSet\\Services\\Class\\Mouse\\0002", Recorded("PS2", "SubKey2"));
    EXPECT_EQ("mouse.drv", Recorded("PS2", "MouseDriver"));
    EXPECT_EQ("MSMOUSE.INF", Recorded("PS2", "InfPath"));
    EXPECT_EQ("Standard PS/2 Port Mouse", Recorded("PS2", "DriverDesc"));
    EXPECT_EQ("5-11-1998", Recorded("PS2", "DriverDate"));
    EXPECT_EQ(std::string(100, 's'), Recorded("PS2", "InfSection"))
        << "a long old value is recorded whole, to come back as it was";
    EXPECT_EQ("", Recorded("PS2", "DeviceDesc")) << "an absent old value is recorded empty";
    EXPECT_EQ("<absent>", Recorded("PS2", "MouseType"));
    EXPECT_EQ("<absent>", Recorded("PS2", "DevLoader"));

    // A Driver naming a class key that does not exist: SubKey2 is still recorded and
    // the key is made with all seven values.
    Clean();
    RemoveSetupInf(dir_.Path());
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"Driver", "Mouse\\0007"}});
    RegisterMouseDevice(0);
    EXPECT_EQ("System\\CurrentControlSet\\Services\\Class\\Mouse\\0007", Recorded("PS2", "SubKey2"));
    ExpectNewClassKey("0007", "PS2", "Orvel Wheel Mouse (PS/2)", "KXPS2");
    EXPECT_EQ("<absent>", Recorded("PS2", "MouseDriver"));
}

TEST_F(Registration, ClassKeyNumbering)
{
    char classKey[16];
    NextFreeClassKey(classKey);
    EXPECT_STREQ("Mouse\\0000", classKey) << "no class key";
    for (const char *n : {"0000", "0001", "0003"})
        MakeKeyWithTexts(Class(n), {});
    NextFreeClassKey(classKey);
    EXPECT_STREQ("Mouse\\0002", classKey);
    MakeKeyWithTexts(Class("0002"), {});
    NextFreeClassKey(classKey);
    EXPECT_STREQ("Mouse\\0004", classKey) << "0000 to 0003";
    DeleteRegTree(HKEY_LOCAL_MACHINE, ClassMouseKey);
    MakeKeyWithTexts(Class("0001"), {});
    NextFreeClassKey(classKey);
    EXPECT_STREQ("Mouse\\0000", classKey) << "a first subkey 0001";
    DeleteRegTree(HKEY_LOCAL_MACHINE, ClassMouseKey);
    MakeKeyWithTexts(Class("0000"), {});
    MakeKeyWithTexts(Class("Extra"), {});
    NextFreeClassKey(classKey);
    EXPECT_STREQ("Mouse\\0001", classKey) << "a name without digits counts as 0 and ends nothing";

    // A live node without Driver over subkeys 0000, 0001, 0003.
    DeleteRegTree(HKEY_LOCAL_MACHINE, ClassMouseKey);
    for (const char *n : {"0000", "0001", "0003"})
        MakeKeyWithTexts(Class(n), {});
    LiveDevice device("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "x"}});
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "Driver", "Mouse\\0002");
    ExpectNewClassKey("0002", "PS2", "Orvel Wheel Mouse (PS/2)", "KXPS2");
}

// Names the 80-character buffers of the registration cannot hold: a class key name
// met while numbering, and a live node's Driver value.
TEST_F(Registration, NamesTooLongForTheirBuffers)
{
    // A long name among the class keys must not end the numbering early and let it
    // choose a number that exists after it.
    for (std::string n : {std::string("0000"), "0000" + std::string(90, 'x'), std::string("0001")})
        MakeKeyWithTexts(Class(n.c_str()), {{"DriverDesc", "kept " + n.substr(0, 4)}});
    char classKey[16];
    NextFreeClassKey(classKey);
    EXPECT_STREQ("Mouse\\0002", classKey);
    RegisterMouseDevice(0);
    ExpectText(HKEY_LOCAL_MACHINE, Class("0001"), "DriverDesc", "kept 0001");
    ExpectOwnNode(true, "Mouse\\0002");

    // A live node whose Driver of 86 characters names a class key: that key is updated.
    Clean();
    std::string longKey = "Mouse\\" + std::string(80, 'k');
    LiveDevice device("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"Driver", longKey}});
    MakeKeyWithTexts(std::string(ClassMouseKey) + "\\" + std::string(80, 'k'), {{"MouseDriver", "old.drv"}});
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "Driver", longKey);
    ExpectText(HKEY_LOCAL_MACHINE, std::string(ClassMouseKey) + "\\" + std::string(80, 'k'),
               "MouseDriver", "kxmouse.drv");
    EXPECT_EQ("old.drv", Recorded("PS2", "MouseDriver"));

    // One of 300 characters names no key that can be held: the node keeps it, and no
    // class key is made for it.
    Clean();
    RemoveSetupInf(dir_.Path());
    std::string tooLong = "Mouse\\" + std::string(294, 'k');
    LiveDevice again("C29A0011", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"Driver", tooLong}});
    RegisterMouseDevice(0);
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "Driver", tooLong);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ClassMouseKey)) << "no class key made";
    EXPECT_EQ("Enum\\BIOS\\*PNP0F13\\0000", Recorded("PS2", "SubKey1"));
}

TEST_F(Registration, OwnNodeTwiceMakesTwoClassKeys)
{
    RegisterMouseDevice(0);
    RegisterMouseDevice(0);
    ExpectNewClassKey("0000", "Serial", "Orvel Wheel Mouse (Serial)", "KXSERIAL");
    ExpectNewClassKey("0001", "Serial", "Orvel Wheel Mouse (Serial)", "KXSERIAL");
    ExpectOwnNode(true, "Mouse\\0001");
    EXPECT_EQ("<absent>", Recorded("Serial", "SubKey1")) << "the own node records nothing";
}

TEST_F(Registration, PriorValuesFirstNonEmptyWins)
{
    LiveDevice device("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "Original"}});
    SetupState.MouseKind = 0;
    RegisterMouseDevice(0);
    EXPECT_EQ("Original", Recorded("PS2", "DeviceDesc"));
    EXPECT_EQ("", Recorded("PS2", "Mfg")) << "recorded empty";

    // A second registration: every entry stays, the empty one (an absence) too, so that
    // the uninstaller deletes the value rather than putting the package's back.
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "Changed"}, {"Mfg", "Later"}});
    RegisterMouseDevice(0);
    EXPECT_EQ("Original", Recorded("PS2", "DeviceDesc"));
    EXPECT_EQ("", Recorded("PS2", "Mfg"));

    // A serial registration afterwards keeps both sections.
    LiveDevice serial("C29A0020", "ROOT\\*PNP0F0C\\0000");
    MakeKeyWithTexts(Node("ROOT\\*PNP0F0C\\0000"), {{"DeviceDesc", "Serial before"}});
    SetupState.MouseKind = 1;
    RegisterMouseDevice(0);
    EXPECT_EQ("Serial before", Recorded("Serial", "DeviceDesc"));
    EXPECT_EQ("Original", Recorded("PS2", "DeviceDesc"));
    std::string inf = ReadWholeFile(dir_.Path() + "\\SETUP.INF");
    EXPECT_NE(std::string::npos, inf.find("[PS2]"));
    EXPECT_NE(std::string::npos, inf.find("[Serial]"));

    // No directory for the record: nothing is recorded, and the value is left alone.
    lstrcpyA(SetupState.InstallDir, "C:\\t\\reg\\missing");
    EXPECT_EQ("<absent>", Recorded("PS2", "DeviceDesc"));
    EXPECT_EQ(0, RecordPriorValue("PS2", "DeviceDesc", "x"));
    EXPECT_EQ("<absent>", Recorded("PS2", "DeviceDesc"));
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "Changed"}});
    SetupState.MouseKind = 0;
    EXPECT_EQ(0, RegisterMouseDevice(0));
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "DeviceDesc", "Changed");
}

// ExitWindowsEx recorded instead of restarting.
int RestartRequests;
BOOL WINAPI RecordRestart(UINT flags, DWORD reason)
{
    EXPECT_EQ((UINT)EWX_REBOOT, flags);
    EXPECT_EQ(0u, reason);
    RestartRequests++;
    return TRUE;
}

const char Startup[] = "[Main]\r\nProductName=Orvel\r\n[Startup]\r\nMfg=Orvel\r\n"
                       "PS2Name=Orvel Wheel Mouse (PS/2)\r\nPS2InfSection=KXPS2\r\n"
                       "MouseDriver=kxmouse.drv\r\n";

// A medium that cannot be written (a CD): its SETUP.INF opened or written to.
static bool IsScript(LPCSTR path)
{
    size_t n = path ? strlen(path) : 0;
    return n >= 9 && !lstrcmpiA(path + n - 9, "SETUP.INF");
}
static HANDLE WINAPI WriteProtectedScriptOpen(LPCSTR path, DWORD access, DWORD share,
                                              LPSECURITY_ATTRIBUTES security, DWORD how,
                                              DWORD flags, HANDLE model)
{
    if (IsScript(path) && (access & GENERIC_WRITE)) {
        SetLastError(ERROR_WRITE_PROTECT);
        return INVALID_HANDLE_VALUE;
    }
    // past the import table, which the test patched
    static auto open = (decltype(&CreateFileA))GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateFileA");
    return open(path, access, share, security, how, flags, model);
}
static BOOL WINAPI WriteProtectedProfile(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path)
{
    if (IsScript(path)) {
        SetLastError(ERROR_WRITE_PROTECT);
        return FALSE;
    }
    static auto write = (decltype(&WritePrivateProfileStringA))GetProcAddress(
        GetModuleHandleA("kernel32.dll"), "WritePrivateProfileStringA");
    return write(section, key, value, path);
}

TEST_F(Registration, DriverOnlyModeRegistersForItsOwnDirectoryAndRestarts)
{
    ImportPatch restart("user32.dll", "ExitWindowsEx", (void *)RecordRestart);
    ASSERT_TRUE(restart.Applied());
    RestartRequests = 0;
    WriteSetupInf(Startup);
    LiveDevice device("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "Standard PS/2 Port Mouse"}});
    // The driver-only mode in this process, PS/2 chosen on its page: the boxes it showed.
    auto runPs2 = []() {
        MessageBoxRecorder boxes;
        PageDriver driver({{"SETUP_SELMOUSE", [](HWND page) {
            Click(page, IDC_PS2);
            Click(page, IDC_NEXT);
        }}});
        ResetSetupState();
        WinMain(GetModuleHandleA(0), 0, (LPSTR) "-u", SW_SHOWNORMAL);
        return boxes.Calls();
    };
    {
        std::vector<MessageBoxCall> calls = runPs2();
        ASSERT_EQ(1u, calls.size());
        EXPECT_EQ(DriverDoneText, calls[0].text);
        EXPECT_EQ("Orvel Setup Program", calls[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONINFORMATION), calls[0].style);
        EXPECT_EQ(nullptr, calls[0].owner);
    }
    EXPECT_EQ(1, RestartRequests);
    EXPECT_STREQ("", SetupState.InstallDir) << "no installation: no destination";
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "DeviceDesc", "Orvel Wheel Mouse (PS/2)");
    EXPECT_EQ("Enum\\BIOS\\*PNP0F13\\0000", Recorded("PS2", "SubKey1")) << "beside the program";
    EXPECT_EQ("Standard PS/2 Port Mouse", Recorded("PS2", "DeviceDesc"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClsidKey)) << "no product entries";
    EXPECT_EQ(0, IsMouseAppRegistered());

    // Cancel on the page: nothing registered, no restart.
    Clean();
    WriteSetupInf(Startup);
    {
        MessageBoxRecorder boxes;
        PageDriver driver({{"SETUP_SELMOUSE", [](HWND page) { Click(page, IDC_CANCEL); }}});
        ResetSetupState();
        WinMain(GetModuleHandleA(0), 0, (LPSTR) "-u", SW_SHOWNORMAL);
        EXPECT_EQ(1u, boxes.Calls().size()) << "the abort notice only";
    }
    EXPECT_EQ(1, RestartRequests);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OwnNodeKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(ClassMouseKey) + "\\0000"));
    RemoveSetupInf();

    // From a CD, with nothing installed: its script cannot be written, and the device is
    // registered unrecorded, as no uninstaller exists that could put anything back.
    Clean();
    WriteSetupInf(Startup);
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "Standard PS/2 Port Mouse"}});
    {
        ImportPatch open("kernel32.dll", "CreateFileA", (void *)WriteProtectedScriptOpen);
        ImportPatch write("kernel32.dll", "WritePrivateProfileStringA", (void *)WriteProtectedProfile);
        std::vector<MessageBoxCall> calls = runPs2();
        ASSERT_EQ(1u, calls.size());
        EXPECT_EQ(DriverDoneText, calls[0].text);
    }
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "DeviceDesc", "Orvel Wheel Mouse (PS/2)");
    EXPECT_EQ("<absent>", Recorded("PS2", "SubKey1")) << "nothing recorded";
    RemoveSetupInf();
}

TEST_F(Registration, RealSetupExeInDriverOnlyMode)
{
    ASSERT_FALSE(BuiltSetupExe().empty());
    SessionEndWatch session;
    ScratchDir medium("medium");
    WriteSetupInf(Startup, medium.Path());
    LiveDevice device("C29A0010", "BIOS\\*PNP0F13\\0000");
    MakeKeyWithTexts(Node("BIOS\\*PNP0F13\\0000"), {{"DeviceDesc", "Standard PS/2 Port Mouse"}});

    SetupRun cancelled = RunSetupExe(medium.Path(), "SETUP.EXE", "-u",
                                     {Press("SETUP_SELMOUSE", IDCANCEL)});
    EXPECT_EQ(0u, cancelled.exitCode);
    EXPECT_EQ(1u, cancelled.boxes.size()) << "the abort notice only";
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "DeviceDesc", "Standard PS/2 Port Mouse");
    EXPECT_EQ(0, session.RestartsSettled()) << "no restart after a cancel";

    SetupRun run = RunSetupExe(medium.Path(), "SETUP.EXE", "-u",
                               {{"SETUP_SELMOUSE", [](HWND page) {
                                   PostClick(page, IDC_PS2);
                                   PostClick(page, IDC_NEXT);
                               }}});
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(DriverDoneText, run.boxes[0].text);
    EXPECT_EQ("Orvel Setup Program", run.boxes[0].caption);
    ExpectText(HKEY_LOCAL_MACHINE, Node("BIOS\\*PNP0F13\\0000"), "DeviceDesc", "Orvel Wheel Mouse (PS/2)");
    lstrcpyA(SetupState.InstallDir, medium.Path().c_str());
    EXPECT_EQ("Enum\\BIOS\\*PNP0F13\\0000", Recorded("PS2", "SubKey1"))
        << "recorded in the SETUP.INF beside the program";
    EXPECT_EQ("Standard PS/2 Port Mouse", Recorded("PS2", "DeviceDesc"));
    EXPECT_GE(session.RestartsSettled(), 1) << "Windows was asked to restart";
}

// Run only by tests/registry-survives.sh, one step per Wine server: the first writes
// the entries and a volatile marker, the second (after a server restart) finds the
// entries and not the marker.
const char VolatileMarker[] = "Software\\OrvelTest\\VolatileMarker";

TEST(Survival, DISABLED_Write)
{
    ResetSetupState();
    DeleteRegTree(HKEY_LOCAL_MACHINE, OwnNodeKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, std::string(ClassMouseKey) + "\\0000");
    lstrcpyA(SetupState.InstallDir, "C:\\t\\survive");
    lstrcpyA(SetupState.Title, "Orvel Wheel Mouse");
    lstrcpyA(SetupState.SeialName, "Orvel Wheel Mouse (Serial)");
    EXPECT_EQ(1, RegisterMouseDevice(1));
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, VolatileMarker, 0, 0,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, 0, &k, 0));
    RegCloseKey(k);
}

TEST(Survival, DISABLED_CheckAndClean)
{
    HKEY k;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, VolatileMarker, 0, KEY_READ, &k))
        << "the volatile marker outlived the server: it was never restarted";
    ExpectText(HKEY_CLASSES_ROOT, ClsidKey, 0, "KXMouseControlPage");
    ExpectText(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", "C:\\t\\survive\\UNINSTAL.EXE");
    ExpectText(HKEY_LOCAL_MACHINE, RunKey, "ZennoMouse", "C:\\t\\survive\\KXMAIN.EXE -startup");
    ExpectText(HKEY_LOCAL_MACHINE, OwnNodeKey, "Driver", "Mouse\\0000");
    ExpectText(HKEY_LOCAL_MACHINE, OwnNodeKey, "DeviceDesc", "Orvel Wheel Mouse (Serial)");
    ExpectText(HKEY_LOCAL_MACHINE, std::string(ClassMouseKey) + "\\0000", "DevLoader", "*vmouse");
    DeleteRegTree(HKEY_CLASSES_ROOT, ClsidKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, HandlersKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, UninstallKey);
    HKEY run;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "ZennoMouse");
        RegCloseKey(run);
    }
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Enum\\Root\\OrvelMouse");
    DeleteRegTree(HKEY_LOCAL_MACHINE, std::string(ClassMouseKey) + "\\0000");
    for (const char *parent : {"Enum\\Root", "Enum", ClassMouseKey})
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, parent);   // made for the entries; fails unless empty
    DeleteRegTree(HKEY_LOCAL_MACHINE, "Software\\OrvelTest");
}

}  // namespace
