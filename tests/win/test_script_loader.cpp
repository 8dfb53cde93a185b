// The setup-script loader against real SETUP.INF files beside the test program,
// read through the platform's private-profile services.
#include <gtest/gtest.h>
#include <string.h>
#include "testlib.h"
#include "shared/script_loader.h"
#include "shared/script_rules.h"
#include "shared/script_field.h"
#include "controller/controller.h"
#include "loader_dump.h"

namespace {

class ScriptLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        GetWindowsDirectoryA(SetupState.WindowsDir, sizeof SetupState.WindowsDir);
        RemoveSetupInf();
    }
    void TearDown() override
    {
        RemoveSetupInf();
        ResetSetupState();
    }
    int Load(const std::string &script)
    {
        WriteSetupInf(script);
        return LoadSetupScript();
    }
    static size_t Offset(const void *p) { return (const BYTE *)p - SetupState.FileTableBase; }
    static std::string ProgramFiles()
    {
        return GetRegText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                          "ProgramFilesDir");
    }
};

TEST_F(ScriptLoader, MissingScriptLoadsEveryDefault)
{
    ASSERT_EQ(1, LoadSetupScript());
    EXPECT_EQ(ProgramDir(), SetupState.SetupDir);
    EXPECT_STREQ("Orvel", SetupState.ProductName);
    EXPECT_STREQ("Orvel Setup Program", SetupState.Caption);
    EXPECT_EQ(std::string(1, SetupState.WindowsDir[0]) + ":\\ORVEL", SetupState.OfferedDir);
    EXPECT_STREQ("ORVEL.GRP", SetupState.GroupName);
    EXPECT_STREQ("ORVEL", SetupState.GroupTitle);
    EXPECT_EQ(1024, SetupState.MinimumSpace);
    EXPECT_EQ(0, SetupState.OEM);
    EXPECT_EQ(1, SetupState.MouseKind);
    EXPECT_EQ(0, SetupState.DiskCount);
    EXPECT_EQ(0, SetupState.TotalFiles);
    EXPECT_EQ(0, SetupState.GroupItemCount);
    EXPECT_STREQ("1234", SetupState.PnpID);
    EXPECT_STREQ("", SetupState.Title);
    EXPECT_STREQ("", SetupState.DirectorySlots[0]);
    EXPECT_EQ(600u, GlobalSize(SetupState.FileTableHandle));
    EXPECT_EQ(SetupState.FileTableBase, (BYTE *)SetupState.DiskFirstEntry[0]);
}

TEST_F(ScriptLoader, TwoDisksLayOutTheBlock)
{
    ASSERT_EQ(1, Load("[DiskLabel]\nDisk1=First\nDisk2=Second\n"
                      "[FileCounts]\nDisk1=2\nDisk2=3\n"
                      "[DirectoryName]\nRootDir=ROOT\nSubDir1=BIN\nWinSystemDir=SYS\nWinInfDir=INF\n"
                      "[Disk1]\n1=A.EX_,A.EXE,First file,RootDir\n2=B.DL_,B.DLL,Second,SubDir1\n"
                      "[Disk2]\n1=C.VX_,C.VXD,Driver,winsystemdir\n2=D.IN_,D.INF,Inf,WININFDIR\n"
                      "3=E.TXT,E.TXT,Read me,NoSuchDir\n"
                      "[PM Info]\n1=KXMAIN.EXE,Mouse,0\n"));
    EXPECT_EQ(2, SetupState.DiskCount);
    EXPECT_EQ(5, SetupState.TotalFiles);
    EXPECT_EQ(1480u, GlobalSize(SetupState.FileTableHandle));
    EXPECT_EQ(0u, Offset(SetupState.DiskFirstEntry[0]));
    EXPECT_EQ(352u, Offset(SetupState.DiskFirstEntry[1]));
    EXPECT_EQ(880u, Offset(SetupState.DiskFirstEntry[2]));

    FileEntry *d1 = SetupState.DiskFirstEntry[0], *d2 = SetupState.DiskFirstEntry[1];
    EXPECT_STREQ("A.EX_", d1[0].SourceName);
    EXPECT_STREQ("A.EXE", d1[0].TargetName);
    EXPECT_STREQ("First file", d1[0].Description);
    EXPECT_STREQ("ROOT", d1[0].SourceDir);
    EXPECT_STREQ("ROOT", d1[0].TargetDir);
    EXPECT_EQ(0, d1[0].TargetIsAbsolute);
    EXPECT_STREQ("BIN", d1[1].TargetDir);

    // A keyword in any case finds its slot; the Windows slots give full target paths.
    EXPECT_STREQ("SYS", d2[0].SourceDir);
    EXPECT_EQ(std::string(SetupState.WindowsDir) + "\\SYSTEM", d2[0].TargetDir);
    EXPECT_EQ(1, d2[0].TargetIsAbsolute);
    EXPECT_STREQ("INF", d2[1].SourceDir);
    EXPECT_EQ(std::string(SetupState.WindowsDir) + "\\INF", d2[1].TargetDir);
    EXPECT_EQ(1, d2[1].TargetIsAbsolute);

    // An unknown keyword keeps the names but no directories.
    EXPECT_STREQ("E.TXT", d2[2].SourceName);
    EXPECT_STREQ("Read me", d2[2].Description);
    EXPECT_STREQ("", d2[2].SourceDir);
    EXPECT_STREQ("", d2[2].TargetDir);
    EXPECT_EQ(0, d2[2].TargetIsAbsolute);

    GroupItem *items = (GroupItem *)SetupState.DiskFirstEntry[2];
    EXPECT_EQ(1, SetupState.GroupItemCount);
    EXPECT_STREQ("KXMAIN.EXE", items[0].Name);
    EXPECT_STREQ("Mouse", items[0].Title);
    EXPECT_STREQ("0", items[0].Flags);
}

TEST_F(ScriptLoader, DisksAreCountedByTheirLabelsAndMissingLinesLeaveZeroRecords)
{
    ASSERT_EQ(1, Load("[DiskLabel]\nDisk1=One\nDisk3=Three\n"
                      "[FileCounts]\nDisk1=3\nDisk2=1\nDisk3=7\n"
                      "[DirectoryName]\nWinDir=W\n"
                      "[Disk1]\n1=A,A,a,WinDir\n3=C,C,c,WinDir\n"
                      "[Disk2]\n1=X,X,x,WinDir\n"
                      "[Disk3]\n1=Y,Y,y,WinDir\n"));
    EXPECT_EQ(2, SetupState.DiskCount);
    EXPECT_EQ(3, SetupState.DiskFileCount[0]);
    EXPECT_EQ(1, SetupState.DiskFileCount[1]);
    EXPECT_EQ(0, SetupState.DiskFileCount[2]) << "the third disk's count is never read";
    EXPECT_EQ(4, SetupState.TotalFiles);

    FileEntry *d1 = SetupState.DiskFirstEntry[0];
    FileEntry zero = {};
    EXPECT_EQ(0, memcmp(&zero, &d1[1], sizeof zero)) << "record of the missing line 2";
    EXPECT_STREQ("C", d1[2].SourceName);
    EXPECT_STREQ(SetupState.WindowsDir, d1[2].TargetDir);
    EXPECT_STREQ("X", SetupState.DiskFirstEntry[1][0].SourceName) << "section Disk2 is disk 2";
}

TEST_F(ScriptLoader, FileCountsThatCannotBeLaidOut)
{
    // A negative count is no files at all, for its disk only.
    ASSERT_EQ(1, Load("[DiskLabel]\nDisk1=a\nDisk2=b\n[FileCounts]\nDisk1=-5\nDisk2=1\n"
                      "[Disk2]\n1=B,B,b,RootDir\n"));
    EXPECT_EQ(0, SetupState.DiskFileCount[0]);
    EXPECT_EQ(1, SetupState.TotalFiles);
    EXPECT_EQ(776u, GlobalSize(SetupState.FileTableHandle));
    EXPECT_EQ(SetupState.DiskFirstEntry[0], SetupState.DiskFirstEntry[1]);
    EXPECT_STREQ("B", SetupState.DiskFirstEntry[1][0].SourceName);
    ResetSetupState();

    // A total past 32767 cannot be held: the load fails, with the caption already built.
    GetWindowsDirectoryA(SetupState.WindowsDir, sizeof SetupState.WindowsDir);
    EXPECT_EQ(0, Load("[Main]\nProductName=Big\n[DiskLabel]\nDisk1=a\nDisk2=b\n"
                      "[FileCounts]\nDisk1=20000\nDisk2=20000\n"));
    EXPECT_STREQ("Big Setup Program", SetupState.Caption);
    EXPECT_EQ(0, (int)(size_t)SetupState.FileTableHandle);
}

// GetModuleFileNameA as it answers when the program's path is longer than the buffer.
DWORD WINAPI CutModulePath(HMODULE, char *buffer, DWORD size)
{
    std::string path = "C:\\" + std::string(60, 'd') + "\\" + std::string(40, 'e') + "\\SETUP.EXE";
    lstrcpynA(buffer, path.c_str(), (int)size);
    return size;
}

TEST_F(ScriptLoader, ProgramPathTooLongIsAReadingError)
{
    WriteSetupInf("[Main]\nProductName=Beside\n");
    ImportPatch module("kernel32.dll", "GetModuleFileNameA", (void *)CutModulePath);
    ASSERT_TRUE(module.Applied());
    EXPECT_EQ(0, LoadSetupScript()) << "a cut path names a parent directory";
    EXPECT_STREQ("", SetupState.SetupDir);
    EXPECT_STREQ("Orvel Setup Program", SetupState.Caption);
    EXPECT_EQ(nullptr, SetupState.FileTableHandle);
}

const char CurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
void *RealOpenKey;
LONG WINAPI NoCurrentVersion(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key)
{
    if (root == HKEY_LOCAL_MACHINE && path && !lstrcmpiA(path, CurrentVersion))
        return ERROR_FILE_NOT_FOUND;
    return ((LONG(WINAPI *)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY))RealOpenKey)(root, path, options,
                                                                             access, key);
}

TEST_F(ScriptLoader, DefaultPathRule)
{
    std::string pf = ProgramFiles();
    ASSERT_NE("<no value>", pf);

    lstrcpyA(SetupState.WindowsDir, "E:\\WINDOWS");
    ApplyDefaultPath("C:\\ORVEL");
    EXPECT_STREQ("E:\\ORVEL", SetupState.OfferedDir) << "a drive path moves to the Windows drive";
    ApplyDefaultPath("ORVEL");
    EXPECT_EQ(pf + "\\ORVEL", SetupState.OfferedDir);
    ApplyDefaultPath("\\ORVEL");
    EXPECT_EQ(pf + "\\ORVEL", SetupState.OfferedDir) << "no doubled backslash";
    ApplyDefaultPath("");
    EXPECT_EQ(pf + "\\", SetupState.OfferedDir);
    ApplyDefaultPath("C:");
    EXPECT_EQ(pf + "\\C:", SetupState.OfferedDir) << "a bare drive is no drive path";

    // The directory comes from the registry; a value too long for 80 characters is not taken.
    struct PutBack {
        std::string value;
        ~PutBack() { SetRegText(HKEY_LOCAL_MACHINE, CurrentVersion, "ProgramFilesDir", value); }
    } putBack{pf};
    SetRegText(HKEY_LOCAL_MACHINE, CurrentVersion, "ProgramFilesDir", "D:\\Apps");
    ApplyDefaultPath("Tools");
    EXPECT_STREQ("D:\\Apps\\Tools", SetupState.OfferedDir);
    SetRegText(HKEY_LOCAL_MACHINE, CurrentVersion, "ProgramFilesDir", std::string(90, 'x'));
    ApplyDefaultPath("Tools");
    EXPECT_STREQ("\\Tools", SetupState.OfferedDir);

    // Without the CurrentVersion key, the usual program-files directory.
    {
        ImportPatch open("advapi32.dll", "RegOpenKeyExA", (void *)NoCurrentVersion);
        ASSERT_TRUE(open.Applied());
        RealOpenKey = open.Original();
        ApplyDefaultPath("Tools");
    }
    EXPECT_STREQ("C:\\Program Files\\Tools", SetupState.OfferedDir);
    SetRegText(HKEY_LOCAL_MACHINE, CurrentVersion, "ProgramFilesDir", pf);

    // Through the script, and cut at 255 characters when the parts are longer together.
    SetupState.WindowsDir[0] = 'C';
    ASSERT_EQ(1, Load("[Main]\nDefaultPath=" + std::string(255, 'p') + "\n"));
    EXPECT_EQ(255u, strlen(SetupState.OfferedDir));
    EXPECT_EQ(pf + "\\" + std::string(255 - pf.size() - 1, 'p'), SetupState.OfferedDir);
}

TEST_F(ScriptLoader, LongValuesAreCutAtTheirFields)
{
    std::string slot(300, 's'), name(30, 'n'), desc(100, 'd');
    ASSERT_EQ(1, Load("[Main]\nProductName=" + std::string(100, 'P') + "\nGroupName=" +
                      std::string(50, 'G') + "\nGroupTitle=" + std::string(60, 'T') +
                      "\n[DiskLabel]\nDisk1=" + std::string(60, 'L') +
                      "\n[FileCounts]\nDisk1=2\n[DirectoryName]\nSubDir2=" + slot +
                      "\n[Disk1]\n1=" + name + "," + name + "," + desc + ",SubDir2\n"
                      "2=x,y,z,SubDir2,extra,fields\n"
                      "[PM Info]\n1=" + name + "," + std::string(50, 't') + ",123456\n"
                      "[Startup]\nMfg=" + std::string(60, 'M') + "\nMouseDriver=drv\n"
                      "PnpID=ABCDEFGHIJKLMNOPQRST\nTitle=" + std::string(300, 'i') + "\n"));
    EXPECT_EQ(std::string(71, 'P'), SetupState.ProductName);
    EXPECT_EQ(std::string(71, 'P') + " Setup Program", SetupState.Caption);
    EXPECT_EQ(std::string(19, 'G'), SetupState.GroupName);
    EXPECT_EQ(std::string(47, 'T'), SetupState.GroupTitle);
    EXPECT_EQ(std::string(39, 'L'), SetupState.DiskLabels[0]);
    EXPECT_EQ(std::string(255, 's'), SetupState.DirectorySlots[2]);
    EXPECT_EQ(std::string(39, 'M'), SetupState.Mfg);
    EXPECT_STREQ("drv", SetupState.MouseDriver) << "the next field is untouched";
    EXPECT_STREQ("ABCDEFGHI", SetupState.PnpID);
    EXPECT_EQ(std::string(255, 'i'), SetupState.Title);

    FileEntry *e = SetupState.DiskFirstEntry[0];
    EXPECT_EQ(std::string(39, 's'), e[0].SourceDir);
    EXPECT_EQ(std::string(39, 's'), e[0].TargetDir);
    EXPECT_EQ(std::string(14, 'n'), e[0].SourceName);
    EXPECT_EQ(std::string(14, 'n'), e[0].TargetName);
    EXPECT_EQ(std::string(61, 'd'), e[0].Description);
    EXPECT_EQ(0, e[0].TargetIsAbsolute);
    EXPECT_STREQ("x", e[1].SourceName) << "the next record is untouched";
    EXPECT_STREQ("z", e[1].Description);

    GroupItem *item = (GroupItem *)SetupState.DiskFirstEntry[1];
    EXPECT_EQ(std::string(14, 'n'), item->Name);
    EXPECT_EQ(std::string(39, 't'), item->Title);
    EXPECT_STREQ("1234", item->Flags);
}

TEST_F(ScriptLoader, LongWindowsDirectoryIsCutInTargetDir)
{
    lstrcpyA(SetupState.WindowsDir, ("C:\\" + std::string(36, 'w')).c_str());
    ASSERT_EQ(1, Load("[DiskLabel]\nDisk1=a\n[FileCounts]\nDisk1=1\n[Disk1]\n1=a,b,c,WinSystemDir\n"));
    EXPECT_EQ("C:\\" + std::string(36, 'w'), SetupState.DiskFirstEntry[0][0].TargetDir);
}

TEST_F(ScriptLoader, MainAndStartupValuesAndGroupItemsUpToTheFirstGap)
{
    ASSERT_EQ(1, Load("[main]\nproductname=Kestrel Wheel\nMinimumSpace=2048\nOEM=1\n"
                      "DefaultSerialMouse=0\n"
                      "[Startup]\nFileName=KXMAIN.EXE\nTitle=Kestrel Wheel Mouse\nMfg=Kestrel\n"
                      "MouseDriver=kxmouse.vxd\nMouseInf=KXMOUSE.INF\nDriverDate=11-02-1998\n"
                      "PS2InfSection=PS2_Inst\nSerialInfSection=Ser_Inst\nPS2Name=Wheel PS/2\n"
                      "SeialName=Wheel Serial\nPnpID=KXM0001\n"
                      "[PM Info]\n1=a,b,c\n2=d,e,f\n4=g,h,i\n"));
    EXPECT_STREQ("Kestrel Wheel", SetupState.ProductName);
    EXPECT_STREQ("Kestrel Wheel Setup Program", SetupState.Caption);
    EXPECT_EQ(2048, SetupState.MinimumSpace);
    EXPECT_EQ(1, SetupState.OEM);
    EXPECT_EQ(0, SetupState.MouseKind);
    EXPECT_STREQ("KXMAIN.EXE", SetupState.FileName);
    EXPECT_STREQ("Kestrel Wheel Mouse", SetupState.Title);
    EXPECT_STREQ("Kestrel", SetupState.Mfg);
    EXPECT_STREQ("kxmouse.vxd", SetupState.MouseDriver);
    EXPECT_STREQ("KXMOUSE.INF", SetupState.MouseInf);
    EXPECT_STREQ("11-02-1998", SetupState.DriverDate);
    EXPECT_STREQ("PS2_Inst", SetupState.PS2InfSection);
    EXPECT_STREQ("Ser_Inst", SetupState.SerialInfSection);
    EXPECT_STREQ("Wheel PS/2", SetupState.PS2Name);
    EXPECT_STREQ("Wheel Serial", SetupState.SeialName);
    EXPECT_STREQ("KXM0001", SetupState.PnpID);
    EXPECT_EQ(2, SetupState.GroupItemCount) << "key 4 lies after the gap";

    // MinimumSpace is held in 16 bits.
    ResetSetupState();
    ASSERT_EQ(1, Load("[Main]\nMinimumSpace=70000\n"));
    EXPECT_EQ((short)70000, SetupState.MinimumSpace);
}

// The package checker runs the same loader rules natively with its own reading of the
// INI format; the build put its load of each script in LOADER_DUMPS (NAME.txt beside a
// copy NAME.inf). SETUP.EXE's own load of every one must read the same.
TEST_F(ScriptLoader, PackageCheckerLoadsEveryScriptAsSetupDoes)
{
    std::string dir = DirFromEnvironment("LOADER_DUMPS");
    ASSERT_FALSE(dir.empty()) << "LOADER_DUMPS is not set";
    std::vector<DirEntry> scripts = ListDir(dir + "\\*.inf");
    for (const DirEntry &script : scripts) {
        std::string name = script.name.substr(0, script.name.size() - 4);
        ResetSetupState();
        lstrcpyA(SetupState.WindowsDir, "C:\\WINDOWS");
        int loaded = Load(ReadWholeFile(dir + "\\" + script.name));
        EXPECT_EQ(ReadWholeFile(dir + "\\" + name + ".txt"), DumpLoadedScript(loaded)) << name;
    }
    EXPECT_GE(scripts.size(), 18u);   // the corpus, the INI-syntax file and the sample
}

TEST(SplitScriptField, BlanksCommasAndTabs)
{
    char field[SCRIPT_FIELD_SIZE];
    const char *rest = SplitScriptField("A.EX_ , A.EXE,Main program ,RootDir", field);
    EXPECT_STREQ("A.EX_", field);
    rest = SplitScriptField(rest, field);
    EXPECT_STREQ("A.EXE", field);
    rest = SplitScriptField(rest, field);
    EXPECT_STREQ("Main program", field) << "inner blank kept, trailing blank gone";
    rest = SplitScriptField(rest, field);
    EXPECT_STREQ("RootDir", field);
    EXPECT_STREQ("", rest);
    SplitScriptField(rest, field);
    EXPECT_STREQ("", field) << "fields after the end are empty";

    rest = SplitScriptField("\tname\t ,x", field);
    EXPECT_STREQ("\tname\t", field) << "tabs are ordinary characters";
    EXPECT_STREQ("x", rest);
    rest = SplitScriptField("   ,b", field);
    EXPECT_STREQ("", field);
    EXPECT_STREQ("b", rest);

    std::string longField(400, 'f');
    rest = SplitScriptField((longField + ",tail").c_str(), field);
    EXPECT_EQ(std::string(255, 'f'), field);
    EXPECT_STREQ("tail", rest);
}

TEST(ResourceTextRing, FourBuffersInTurn)
{
    ResetSetupState();
    char *a = ResourceText(22), *b = ResourceText(23), *c = ResourceText(20), *d = ResourceText(29);
    ASSERT_TRUE(a && b && c && d);
    EXPECT_TRUE(a != b && a != c && a != d && b != c && b != d && c != d) << "four buffers";
    EXPECT_STREQ("Main", a) << "still held after three more calls";
    EXPECT_STREQ("SETUP.INF Reading error !", c);
    char *e = ResourceText(30);
    EXPECT_EQ(a, e) << "the fifth call takes the first buffer again";
    EXPECT_STREQ("ProductName", a);
    EXPECT_EQ(nullptr, ResourceText(21)) << "id 21 has no text";
    EXPECT_EQ(nullptr, ResourceText(31)) << "id 31 has no text";
    EXPECT_EQ(d, ResourceText(22)) << "the ring advanced over both missing texts";
    char *wide = ResourceText(0x10000u + 29);
    ASSERT_NE(nullptr, wide) << "only the low 16 bits of the id count";
    EXPECT_STREQ("Setup Program", wide);
}

}  // namespace
