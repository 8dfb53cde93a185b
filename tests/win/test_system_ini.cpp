// The system.ini patch on files in a scratch Windows directory, and VMOUSE.VXD in the
// prefix's own VMM32 directory (kept and put back).
#include <gtest/gtest.h>
#include <stdio.h>
#include "testlib.h"
#include "install/system_patch.h"
#include "shared/failure_note.h"

namespace {

class SystemIni : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        lstrcpyA(SetupState.WindowsDir, win_.Path().c_str());
        lstrcpyA(SetupState.InstallDir, win_.Path().c_str());   // the record goes there
        DeleteFileA(vxd_.c_str());
        DeleteFileA(bak_.c_str());
    }
    std::string Ini() { return ReadWholeFile(win_.Path() + "\\system.ini"); }
    std::string Bak() { return ReadWholeFile(win_.Path() + "\\system.bak"); }
    bool Exists(const char *name)
    {
        return GetFileAttributesA((win_.Path() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // Patches a system.ini of the given text; returns the new system.ini.
    std::string Patch(const std::string &text)
    {
        WriteWholeFile(win_.Path() + "\\system.ini", text);
        PatchSystemIni();
        return Ini();
    }
    ScratchDir win_{"ini"};
    SystemFilesGuard systemFiles_;
    std::string vxd_ = SystemDirectory() + "\\VMM32\\VMOUSE.VXD";
    std::string bak_ = SystemDirectory() + "\\VMM32\\VMOUSE.BAK";
};

TEST_F(SystemIni, MouseLineOfThe386EnhSection)
{
    std::string before = "[boot]\r\nshell=Explorer.exe\r\n\r\n[386Enh]\r\nebios=*ebios\r\n"
                         "mouse=*vmd\r\nwoafont=dosapp.fon\r\n\r\n[Mouse]\r\nmouse=old\r\n";
    EXPECT_EQ("[boot]\r\nshell=Explorer.exe\r\n\r\n[386Enh]\r\nebios=*ebios\r\n"
              "mouse=*vmouse\r\nwoafont=dosapp.fon\r\n\r\n[Mouse]\r\nmouse=old\r\n", Patch(before));
    EXPECT_EQ(before, Bak());
    EXPECT_FALSE(Exists("\\system.new"));

    // Without [386Enh] nothing is replaced, and the files are rotated all the same.
    std::string plain = "[boot]\r\nmouse.drv=mouse.drv\r\n";
    EXPECT_EQ(plain, Patch(plain));
    EXPECT_EQ(plain, Bak());
}

TEST_F(SystemIni, MatchingRules)
{
    // The section ends at the next line starting with '[': one without a match gets
    // the line as its last, and the next section is left alone.
    EXPECT_EQ("[386Enh]\r\nebios=*ebios\r\nmouse=*vmouse\r\n[Other]\r\nmouseport=1\r\nmouse=2\r\n",
              Patch("[386Enh]\r\nebios=*ebios\r\n[Other]\r\nmouseport=1\r\nmouse=2\r\n"));
    // A comment only when ';' comes first; "Mouse" is not "mouse".
    EXPECT_EQ("[386Enh]\r\n;mouse=*vmd\r\nMouse=x\r\nmouse=*vmouse\r\nmouse=*vmd\r\n",
              Patch("[386Enh]\r\n;mouse=*vmd\r\nMouse=x\r\n ;mouse=y\r\nmouse=*vmd\r\n"));
    // Never the [386Enh] line itself, even when it mentions a mouse; a device line
    // ahead of "mouse=" is taken.
    EXPECT_EQ("[386Enh] ; mouse\r\nmouse=*vmouse\r\n", Patch("[386Enh] ; mouse\r\nmouse=*vmd\r\n"));
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\nmouse=*vmd\r\n",
              Patch("[386Enh]\r\ndevice=*vmouse\r\nmouse=*vmd\r\n"));
    // A second replacement needs another [386Enh] line ahead of it.
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\n[386Enh]\r\nmouse=*vmouse\r\nmouse=c\r\n",
              Patch("[386Enh]\r\nmouse=a\r\n[386Enh]\r\nmouse=b\r\nmouse=c\r\n"));
    // Line ends become CR LF, and a Ctrl-Z at the end is dropped (one with text after
    // it leaves the file alone: see below).
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\nlast\r\n",
              Patch("[386Enh]\nmouse=*vmd\nlast\n\x1A\n"));
}

TEST_F(SystemIni, LongLinesAreReplacedWholeOrNotAtAll)
{
    std::string longTail(150, 'x');
    // "mouse" only in the continuation of a long line: not replaced, kept whole.
    std::string kept = "[386Enh]\r\ndevice=" + longTail + "mouse\r\nmouse=*vmd\r\n";
    EXPECT_EQ("[386Enh]\r\ndevice=" + longTail + "mouse\r\nmouse=*vmouse\r\n", Patch(kept));
    // A long mouse line: replaced whole, its rest dropped.
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\nnext=1\r\n",
              Patch("[386Enh]\r\nmouse=" + longTail + "\r\nnext=1\r\n"));
}

TEST_F(SystemIni, ExistingNewAndBakFilesAndAReadOnlyBak)
{
    WriteWholeFile(win_.Path() + "\\system.new", "stale new");
    WriteWholeFile(win_.Path() + "\\system.bak", "stale bak");
    std::string before = "[386Enh]\r\nmouse=*vmd\r\n";
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\n", Patch(before));
    EXPECT_EQ(before, Bak());
    EXPECT_FALSE(Exists("\\system.new"));

    // A read-only system.bak stops the rotation: system.ini and system.bak are left as
    // they were, and no system.new stays behind.
    std::string again = "[386Enh]\r\nmouse=*vmd2\r\n";
    WriteWholeFile(win_.Path() + "\\system.ini", again);
    SetFileAttributesA((win_.Path() + "\\system.bak").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, PatchSystemIni());
    EXPECT_EQ(again, Ini());
    EXPECT_EQ(before, Bak());
    EXPECT_FALSE(Exists("\\system.new"));
    SetFileAttributesA((win_.Path() + "\\system.bak").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// GetSystemDirectoryA answering that the name needs more room than it was given, with
// a usable-looking name left in the buffer all the same.
std::string RealSystemDir;
UINT WINAPI TooLongSystemDir(char *buffer, UINT size)
{
    lstrcpynA(buffer, RealSystemDir.c_str(), size);
    return 200;
}

TEST_F(SystemIni, VmouseIsSetAsideOnlyWhenPresent)
{
    WriteWholeFile(vxd_, "stock driver");
    WriteWholeFile(bak_, "older copy");
    Patch("[386Enh]\r\nmouse=*vmd\r\n");
    EXPECT_EQ("stock driver", ReadWholeFile(bak_));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(vxd_.c_str()));

    // Without VMOUSE.VXD the backup, now the stock driver's only copy, stays.
    Patch("[386Enh]\r\nmouse=*vmd\r\n");
    EXPECT_EQ("stock driver", ReadWholeFile(bak_));

    // A system directory too long for its buffer is not guessed at.
    WriteWholeFile(vxd_, "stock driver 2");
    RealSystemDir = SystemDirectory();
    {
        ImportPatch dir("kernel32.dll", "GetSystemDirectoryA", (void *)TooLongSystemDir);
        ASSERT_TRUE(dir.Applied());
        Patch("[386Enh]\r\nmouse=*vmd\r\n");
    }
    EXPECT_EQ("stock driver 2", ReadWholeFile(vxd_));
    EXPECT_EQ("stock driver", ReadWholeFile(bak_));
}

TEST_F(SystemIni, ANulByteOrAnEndMarkInsideLeavesSystemIniAlone)
{
    using namespace std::string_literals;
    WriteWholeFile(win_.Path() + "\\system.bak", "previous backup");
    std::string before = "[386Enh]\r\nebios=*eb\0ios\r\nmouse=*vmd\r\n"s;
    EXPECT_EQ(before, Patch(before)) << "the text after the NUL is not lost";
    EXPECT_EQ("previous backup", Bak());
    EXPECT_FALSE(Exists("\\system.new"));

    std::string ctrlZ = "[386Enh]\r\nebios=*ebios\r\n\x1a\r\nmouse=*vmd\r\n[boot]\r\nshell=x\r\n";
    EXPECT_EQ(ctrlZ, Patch(ctrlZ)) << "an end-of-file mark inside";
    EXPECT_EQ("previous backup", Bak());

    // A mark at the very end, as old editors leave it, is the end of the text.
    EXPECT_EQ("[386Enh]\r\nmouse=*vmouse\r\n", Patch("[386Enh]\r\nmouse=*vmd\r\n\x1a"));
}

// Writes and closes that fail as on a full disk.
int PutsLeft;
void *RealPuts, *RealClose;
int FailingPuts(const char *s, FILE *f)
{
    if (PutsLeft-- <= 0)
        return EOF;
    return ((int (*)(const char *, FILE *))RealPuts)(s, f);
}
int ClosesLeft;
int FailingClose(FILE *f)
{
    int result = ((int (*)(FILE *))RealClose)(f);
    return ClosesLeft-- <= 0 ? EOF : result;
}

TEST_F(SystemIni, FailedWritesLeaveSystemIniAlone)
{
    std::string before = "[386Enh]\r\nebios=*ebios\r\nmouse=*vmd\r\nlast=1\r\n";
    WriteWholeFile(win_.Path() + "\\system.bak", "previous backup");
    WriteWholeFile(vxd_, "stock driver");
    {
        ImportPatch puts("msvcrt.dll", "fputs", (void *)FailingPuts);
        ASSERT_TRUE(puts.Applied());
        RealPuts = puts.Original();
        PutsLeft = 2;
        EXPECT_EQ(before, Patch(before));
    }
    EXPECT_EQ("previous backup", Bak());
    EXPECT_FALSE(Exists("\\system.new")) << "the cut-off copy is removed";
    EXPECT_EQ("stock driver", ReadWholeFile(vxd_)) << "nothing is changed";
    {
        ImportPatch close("msvcrt.dll", "fclose", (void *)FailingClose);
        ASSERT_TRUE(close.Applied());
        RealClose = close.Original();
        ClosesLeft = 1;   // system.ini closes, system.new does not
        EXPECT_EQ(before, Patch(before));
    }
    EXPECT_EQ("previous backup", Bak());
    EXPECT_FALSE(Exists("\\system.new"));

    // No system.ini at all: nothing is made.
    DeleteFileA((win_.Path() + "\\system.ini").c_str());
    PatchSystemIni();
    EXPECT_FALSE(Exists("\\system.ini"));
    EXPECT_FALSE(Exists("\\system.new"));
    EXPECT_EQ("previous backup", Bak());
}

// rename as it fails when system.new cannot take system.ini's place.
void *RealRename;
int RefuseNewToIni(const char *from, const char *to)
{
    if (strstr(from, "system.new")) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return -1;
    }
    return ((int (*)(const char *, const char *))RealRename)(from, to);
}

TEST_F(SystemIni, AFailedSecondRenamePutsSystemIniBack)
{
    ImportPatch rename("msvcrt.dll", "rename", (void *)RefuseNewToIni);
    ASSERT_TRUE(rename.Applied());
    RealRename = rename.Original();
    std::string before = "[386Enh]\r\nmouse=*vmd\r\n";
    ForgetFailures();
    EXPECT_EQ(before, Patch(before)) << "Windows is never left without a system.ini";
    // told with the rename's own error, not that of putting system.ini back after it
    char told[FAILURE_MESSAGE_SIZE];
    FailureMessage(told);
    EXPECT_EQ(std::string("Can not change the file\n") + win_.Path() + "\\system.ini !\n"
              "It may be read-only or in use by another program.", told);
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, FailureError());
}

}  // namespace
