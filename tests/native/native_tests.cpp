// The platform-free units built natively under AddressSanitizer and
// UndefinedBehaviorSanitizer: a write past a buffer fails the run.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "shared/bounded_text.h"
#include "shared/script_field.h"
#include "shared/default_path.h"
#include "shared/ini_rewrite.h"
#include "install/class_numbering.h"
#include "shared/file_paths.h"
#include "profile_file.h"
#include "shared/command_line.h"
#include "shared/path_text.h"
#include "shared/log_lines.h"
#include "shared/crc32.h"

// The rewrite setup makes of system.ini: the vmouse line in every [386Enh] section,
// added where there is none.
static int RewriteSystemIni(FILE *in, FILE *out)
{
    return RewriteMouseLine(in, out, "mouse=*vmouse\n", MOUSE_LINE_EVERY_SECTION | MOUSE_LINE_ADD_MISSING);
}

namespace {

TEST(BoundedText, CutsAtTheBufferAndAlwaysEnds)
{
    // Exactly sized heap buffers, so that a byte too many is seen by the sanitizer.
    char *small = (char *)malloc(5);
    CopyText(small, 5, "abcdefgh");
    EXPECT_STREQ("abcd", small);
    AppendText(small, 5, "xyz");
    EXPECT_STREQ("abcd", small) << "a full buffer takes nothing more";
    CopyText(small, 5, "ab");
    AppendText(small, 5, "cdef");
    EXPECT_STREQ("abcd", small);
    CopyText(small, 1, "abc");
    EXPECT_STREQ("", small);
    CopyText(small, 5, nullptr);
    EXPECT_STREQ("", small);
    free(small);
    EXPECT_TRUE(SameTextNoCase("WinSystemDir", "winsystemdir"));
    EXPECT_FALSE(SameTextNoCase("WinSystemDir", "WinSystemDi"));
    EXPECT_TRUE(ContainsText("ACPI\\BIOS\\*PNP0F13\\0", "BIOS\\*PNP0F13\\"));
    EXPECT_FALSE(ContainsText("bios\\*pnp0f13\\0", "BIOS\\*PNP0F13\\"));
}

TEST(ScriptField, FieldsOfAFileLine)
{
    char *field = (char *)malloc(SCRIPT_FIELD_SIZE);
    const char *rest = SplitScriptField("A.EX_ , A.EXE,Main program ,RootDir", field);
    EXPECT_STREQ("A.EX_", field);
    rest = SplitScriptField(rest, field);
    rest = SplitScriptField(rest, field);
    EXPECT_STREQ("Main program", field);
    rest = SplitScriptField(rest, field);
    EXPECT_STREQ("RootDir", field);
    EXPECT_STREQ("", rest);
    std::string huge = std::string(5000, 'f') + ",next";
    rest = SplitScriptField(huge.c_str(), field);
    EXPECT_EQ(std::string(SCRIPT_FIELD_SIZE - 1, 'f'), field);
    EXPECT_STREQ("next", rest);
    free(field);
}

TEST(DefaultPathText, TheRuleAndItsCuts)
{
    char dir[256];
    ComposeOfferedDir(dir, sizeof dir, "C:\\ORVEL", 'E', "ignored");
    EXPECT_STREQ("E:\\ORVEL", dir);
    ComposeOfferedDir(dir, sizeof dir, "ORVEL", 'C', "C:\\Program Files");
    EXPECT_STREQ("C:\\Program Files\\ORVEL", dir);
    ComposeOfferedDir(dir, sizeof dir, "\\ORVEL", 'C', "C:\\Program Files");
    EXPECT_STREQ("C:\\Program Files\\ORVEL", dir);
    ComposeOfferedDir(dir, sizeof dir, "C:", 'C', "P");
    EXPECT_STREQ("P\\C:", dir);
    EXPECT_FALSE(IsDrivePath("C:"));
    EXPECT_FALSE(IsDrivePath(""));
    EXPECT_FALSE(IsDrivePath("C"));
    std::string value(255, 'v');
    ComposeOfferedDir(dir, sizeof dir, value.c_str(), 'C', "C:\\Program Files");
    EXPECT_EQ(255u, std::string(dir).size());
}

std::string Rewrite(const std::string &text)
{
    FILE *in = fmemopen((void *)text.data(), text.size(), "r");
    char *out = nullptr;
    size_t size = 0;
    FILE *outFile = open_memstream(&out, &size);
    EXPECT_EQ(1, RewriteSystemIni(in, outFile));
    fclose(in);
    fclose(outFile);
    std::string result(out, size);
    free(out);
    return result;
}

TEST(IniRewrite, RulesOnStreams)
{
    EXPECT_EQ("[386Enh]\nebios=*ebios\nmouse=*vmouse\n[Mouse]\nmouse=x\n",
              Rewrite("[386Enh]\nebios=*ebios\nmouse=*vmd\n[Mouse]\nmouse=x\n"));
    EXPECT_EQ("[boot]\nmouse=1\n", Rewrite("[boot]\nmouse=1\n"));
    EXPECT_EQ("[386Enh] mouse\nmouse=*vmouse\n", Rewrite("[386Enh] mouse\nmouse=a\n"));
    EXPECT_EQ("[386Enh]\n;mouse\nmouse=*vmouse\n", Rewrite("[386Enh]\n;mouse\nmouse=a\n"));
    std::string tail(300, 'x');
    EXPECT_EQ("[386Enh]\ndevice=" + tail + "mouse\nmouse=*vmouse\n",
              Rewrite("[386Enh]\ndevice=" + tail + "mouse\nmouse=a\n"));
    EXPECT_EQ("[386Enh]\nmouse=*vmouse\nend\n", Rewrite("[386Enh]\nmouse=" + tail + "\nend\n"));
    EXPECT_EQ("[386Enh]\nmouse=*vmouse\n", Rewrite("[386Enh]\nmouse=" + tail));
}

TEST(IniRewrite, TheSectionEndsAtTheNextHeaderLine)
{
    // No mouse line in [386Enh]: one is added as its last line, the next section kept.
    EXPECT_EQ("[386Enh]\nebios=*ebios\nmouse=*vmouse\n[boot.description]\nmouse.drv=Standard mouse\n",
              Rewrite("[386Enh]\nebios=*ebios\n[boot.description]\nmouse.drv=Standard mouse\n"));
    EXPECT_EQ("[386Enh]\n;mouse=x\nmouse=*vmouse\n[boot]\n", Rewrite("[386Enh]\n;mouse=x\n[boot]\n"));
    // At the end of the file, also after a last line without its line end.
    EXPECT_EQ("[boot]\nmouse.drv=x\n[386Enh]\nmouse=*vmouse\n", Rewrite("[boot]\nmouse.drv=x\n[386Enh]\n"));
    EXPECT_EQ("[386Enh]\nebios=*ebios\nmouse=*vmouse\n", Rewrite("[386Enh]\nebios=*ebios"));
    EXPECT_EQ("[386Enh]\nmouse=*vmouse\n", Rewrite("[386Enh]"));
    // Only a line that starts with '[' ends it, not a piece of a long line.
    std::string key = "key=" + std::string(115, 'x');
    EXPECT_EQ("[386Enh]\n" + key + "[x]\nmouse=*vmouse\n", Rewrite("[386Enh]\n" + key + "[x]\nmouse=a\n"));
    EXPECT_EQ("[386Enh]\n [x]\nmouse=*vmouse\n", Rewrite("[386Enh]\n [x]\nmouse=a\n"));
}

// The mouse line FindMouseLine reads, or "<none>" when it reads none.
std::string MouseLine(const std::string &text, int size = 256)
{
    FILE *in = fmemopen((void *)text.data(), text.size(), "r");
    std::string line(size, 'x');
    int found = FindMouseLine(in, &line[0], size);
    fclose(in);
    return found ? std::string(line.c_str()) : "<none>";
}

TEST(IniRewrite, FindsTheLineTheRewriteReplaces)
{
    EXPECT_EQ("mouse=*vmouse, msmouse.vxd",
              MouseLine("[boot]\nmouse=x\n[386Enh]\n;mouse=c\nmouse=*vmouse, msmouse.vxd\r\nz=1\n"));
    EXPECT_EQ("device=*vmouse", MouseLine("[386Enh]\ndevice=*vmouse\nmouse=a\n"));
    EXPECT_EQ("mouse=last", MouseLine("[386Enh]\nmouse=last"));
    EXPECT_EQ("", MouseLine("[386Enh] ; mouse\nebios=x\n[boot]\nmouse=y\n")) << "a section without one";
    EXPECT_EQ("", MouseLine("[boot]\n[386Enh]"));
    EXPECT_EQ("<none>", MouseLine("[boot]\nmouse=y\n")) << "no [386Enh] section";
    std::string tail(200, 't');
    EXPECT_EQ("mouse=" + tail, MouseLine("[386Enh]\nmouse=" + tail + "\nx=1\n"))
        << "a line longer than a piece is read whole";
    EXPECT_EQ("<none>", MouseLine("[386Enh]\nmouse=" + tail + "\n", 200)) << "too long to hold";
    std::string fits = "mouse=" + std::string(192, 'y');
    EXPECT_EQ(fits, MouseLine("[386Enh]\n" + fits + "\n", 200)) << "one that just fits with its line end";
    using namespace std::string_literals;
    EXPECT_EQ("<none>", MouseLine("[386Enh]\nmo\0use=a\nmouse=b\n"s)) << "a NUL byte";
}

// RewriteMouseLine with the given line, in the first section only, adding none.
std::string PutBack(const std::string &text, const char *line)
{
    FILE *in = fmemopen((void *)text.data(), text.size(), "r");
    char *out = nullptr;
    size_t size = 0;
    FILE *outFile = open_memstream(&out, &size);
    EXPECT_EQ(1, RewriteMouseLine(in, outFile, line, 0));
    fclose(in);
    fclose(outFile);
    std::string result(out, size);
    free(out);
    return result;
}

TEST(IniRewrite, PutsBackOneLineOrTakesItOut)
{
    EXPECT_EQ("[386Enh]\nmouse=old\n[386Enh]\nmouse=*vmouse\n",
              PutBack("[386Enh]\nmouse=*vmouse\n[386Enh]\nmouse=*vmouse\n", "mouse=old\n"));
    EXPECT_EQ("[386Enh]\nebios=x\n[boot]\n", PutBack("[386Enh]\nebios=x\nmouse=*vmouse\n[boot]\n", ""));
    EXPECT_EQ("[386Enh]\nebios=x\n", PutBack("[386Enh]\nebios=x\n", "mouse=old\n")) << "none added";
}

int RewriteResult(const std::string &text)
{
    FILE *in = fmemopen((void *)text.data(), text.size(), "r");
    FILE *out = fopen("/dev/null", "w");
    int ok = RewriteSystemIni(in, out);
    fclose(in);
    fclose(out);
    return ok;
}

TEST(IniRewrite, NulByteIsRefusedWhereverItStands)
{
    using namespace std::string_literals;
    EXPECT_EQ(0, RewriteResult("[386Enh]\nebios=a\0b\nmouse=x\n"s)) << "mid-file";
    EXPECT_EQ(0, RewriteResult("[boot]\nshell=a\0tail"s)) << "in the last, unended line";
    EXPECT_EQ(0, RewriteResult(std::string(118, 'x') + "\0"s + "\n")) << "at a piece's end";
    EXPECT_EQ(1, RewriteResult("[boot]\nshell=a\n"));
}

int HidesText(const std::string &text)
{
    FILE *raw = fmemopen((void *)text.data(), text.size(), "rb");
    int hidden = EndMarkHidesText(raw);
    fclose(raw);
    return hidden;
}

TEST(IniRewrite, EndMarkWithTextAfterIt)
{
    EXPECT_EQ(1, HidesText("[boot]\r\n\x1a[386Enh]\r\n"));
    EXPECT_EQ(1, HidesText("\x1a\x1a\r\nx"));
    EXPECT_EQ(0, HidesText("[boot]\r\nshell=x\r\n\x1a"));
    EXPECT_EQ(0, HidesText("[boot]\r\n\x1a\r\n \t\x1a\n"));
    EXPECT_EQ(0, HidesText("[boot]\r\n"));
}

short Number(std::initializer_list<const char *> names)
{
    ClassNumbering n;
    StartClassNumbering(&n);
    for (const char *name : names)
        if (!TakeClassName(&n, name))
            break;
    return NextClassNumber(&n);
}

TEST(ClassNumbering, FirstGap)
{
    EXPECT_EQ(0, Number({}));
    EXPECT_EQ(2, Number({"0000", "0001", "0003"}));
    EXPECT_EQ(3, Number({"0000", "0001", "0002"}));
    EXPECT_EQ(0, Number({"0001"}));
    EXPECT_EQ(1, Number({"0000", "Extra"}));
    // 70000 is read into 16 bits (4464): a gap after 0001.
    EXPECT_EQ(2, Number({"0000", "0001", "70000"}));
}

TEST(FilePaths, SourceAndTarget)
{
    FileEntry e = {};
    snprintf(e.SourceDir, sizeof e.SourceDir, "DISK");
    snprintf(e.SourceName, sizeof e.SourceName, "KXMAIN.EX_");
    snprintf(e.TargetDir, sizeof e.TargetDir, "HELP");
    snprintf(e.TargetName, sizeof e.TargetName, "KXMAIN.EXE");
    char path[256];
    ComposeSourcePath(path, sizeof path, "A:", &e);
    EXPECT_STREQ("A:\\DISK\\KXMAIN.EX_", path);
    ComposeTargetPath(path, sizeof path, "C:\\ORVEL", &e);
    EXPECT_STREQ("C:\\ORVEL\\HELP\\KXMAIN.EXE", path);
    e.TargetIsAbsolute = 1;
    ComposeTargetPath(path, sizeof path, "C:\\ORVEL", &e);
    EXPECT_STREQ("HELP\\KXMAIN.EXE", path);
    e.TargetIsAbsolute = 0;
    snprintf(e.TargetDir, sizeof e.TargetDir, ".");
    ComposeTargetPath(path, sizeof path, "C:\\", &e);
    EXPECT_STREQ("C:\\.\\KXMAIN.EXE", path) << "below a root, one backslash";
    e.TargetDir[0] = 0;
    ComposeTargetPath(path, sizeof path, "C:\\ORVEL", &e);
    EXPECT_STREQ("C:\\ORVEL\\KXMAIN.EXE", path) << "an empty RootDir adds nothing";
    std::string longDir(255, 'd');
    char *tight = (char *)malloc(256);
    EXPECT_FALSE(ComposeTargetPath(tight, 256, longDir.c_str(), &e));
    EXPECT_EQ(longDir, tight) << "cut at the buffer, and told";
    free(tight);
}

// A place has one form: how a path is joined, cut to its directory and tidied.
TEST(PathText, JoinDirectoryAndOneForm)
{
    const struct { const char *dir, *name, *joined; } joins[] = {
        {"C:\\ORVEL", "KXMAIN.EXE", "C:\\ORVEL\\KXMAIN.EXE"},
        {"C:\\", "KXMAIN.EXE", "C:\\KXMAIN.EXE"},
        {"C:\\ORVEL\\", "KXMAIN.EXE", "C:\\ORVEL\\KXMAIN.EXE"},
        {"C:\\ORVEL", "\\KXMAIN.EXE", "C:\\ORVEL\\KXMAIN.EXE"},
        {"C:\\ORVEL", "", "C:\\ORVEL"},
        {"", "SYSTEM", "SYSTEM"},
    };
    char out[64];
    for (const auto &j : joins) {
        EXPECT_TRUE(JoinPath(out, sizeof out, j.dir, j.name));
        EXPECT_STREQ(j.joined, out) << j.dir << " + " << j.name;
    }
    const struct { const char *path, *dir; } dirs[] = {
        {"C:\\ORVEL\\UNINSTAL.EXE", "C:\\ORVEL"}, {"C:\\UNINSTAL.EXE", "C:\\"},
        {"C:\\ORVEL\\\\UNINSTAL.EXE", "C:\\ORVEL\\"}, {"DRIVERS\\WIN95", "DRIVERS"},
        {"DRIVERS", ""},
    };
    for (const auto &d : dirs) {
        EXPECT_TRUE(DirectoryOf(d.path, out, sizeof out));
        EXPECT_STREQ(d.dir, out) << d.path;
    }
    const struct { const char *given, *tidy; } forms[] = {
        {"C:\\ORVEL\\", "C:\\ORVEL"}, {"C:\\", "C:\\"}, {"C:\\ORVEL\\\\X\\\\", "C:\\ORVEL\\X"},
        {"\\\\SERVER\\SHARE\\", "\\\\SERVER\\SHARE"},
    };
    for (const auto &f : forms) {
        snprintf(out, sizeof out, "%s", f.given);
        TidyPlace(out);
        EXPECT_STREQ(f.tidy, out) << f.given;
    }
    for (const char *relative : {"DRIVERS", "DRIVERS\\WIN95", ".", "A..B"})
        EXPECT_TRUE(IsRelativeDir(relative)) << relative;
    for (const char *other : {"", "C:\\X", "C:X", "\\X", "..\\X", "A\\..", "A\\..\\B"})
        EXPECT_FALSE(IsRelativeDir(other)) << other;
    char *small = (char *)malloc(8);
    EXPECT_FALSE(JoinPath(small, 8, "C:\\ORVEL", "X")) << "told when it does not fit";
    free(small);
}

std::string ProfileText(const char *section, const char *key, int size = 256)
{
    char *buf = (char *)malloc(size);
    ReadProfileString(section, key, "dflt", buf, size);
    std::string text = buf;
    free(buf);
    return text;
}

// The package checker reads SETUP.INF as GetPrivateProfileStringA/IntA do.
// Both programs read their tails, and setup its options, with this one reader.
TEST(CommandLine, WordsAndTheUnattendedMode)
{
    const struct {
        const char *tail;
        bool silent;
        std::vector<std::string> words;   // empty: the reader refuses the line
    } cases[] = {
        {"-s", true, {"-s"}},
        {"-s -d \"C:\\A B\"", true, {"-s", "-d", "C:\\A B"}},
        {"-s -d \"C:\\A B\\\" -r", true, {"-s", "-d", "C:\\A B\\", "-r"}},
        {"-s -d C:\\ORVEL\\", true, {"-s", "-d", "C:\\ORVEL\\"}},
        {"-s\t-ps2\t\t-d\tC:\\X", true, {"-s", "-ps2", "-d", "C:\\X"}},
        {"-s -d C:\\\"A B\"\\X", true, {"-s", "-d", "C:\\A B\\X"}},
        {"-sx", false, {"-sx"}},
        {"-S", false, {"-S"}},
        {"/s", false, {"/s"}},
        {"-serial", false, {"-serial"}},
        {"-s -d \"C:\\A B", true, {}},
        {"-s -d \"\"", true, {"-s", "-d", ""}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.silent, IsSilentCommand(c.tail) != 0) << c.tail;
        std::vector<std::string> words;
        char *word = (char *)malloc(16);   // exactly sized: a byte past it is seen
        const char *p = SkipCommandBlanks(c.tail);
        while (p && *p) {
            p = CommandWord(p, word, 16);
            if (p) {
                words.push_back(word);
                p = SkipCommandBlanks(p);
            }
        }
        free(word);
        EXPECT_EQ(c.words, p ? words : std::vector<std::string>()) << c.tail;
    }
    char word[4];
    EXPECT_EQ(nullptr, CommandWord("LONG", word, sizeof word)) << "refused, never cut";
    EXPECT_STREQ("", SkipCommandBlanks(CommandWord("\"C:\\A B\\SETUP.EXE\"", nullptr, 0)))
        << "a program name passed over";
}

// An install log's record carries any path or value whole, and a line cut short by a
// power cut is never taken for a record.
// WININIT.EXE reads 8.3 paths of one drive only.
TEST(PathText, ShortFormsAndDrives)
{
    const struct { const char *path; int isShort; } rows[] = {
        {"C:\\WINDOWS\\SYSTEM\\KXMOUSE.VXD", 1}, {"C:\\ORVELM~1\\KX12AB.TMP", 1}, {"C:\\", 1},
        {"C:\\PROGRA~1\\ORVEL\\README", 1}, {"C:\\Program Files\\X.DLL", 0},
        {"C:\\ORVEL\\KXMOUSE12.INI", 0}, {"C:\\ORVEL\\KX.INIX", 0}, {"C:\\ORVEL\\A.B.C", 0},
        {"C:\\ORVEL\\.INI", 0}, {"ORVEL\\X.INI", 0}, {"\\\\SERVER\\X.INI", 0}, {"", 0},
    };
    for (const auto &r : rows)
        EXPECT_EQ(r.isShort, IsShortFormPath(r.path)) << r.path;
    EXPECT_TRUE(OnOneDrive("c:\\x", "C:\\Y"));
    EXPECT_FALSE(OnOneDrive("C:\\X", "D:\\X"));
    EXPECT_FALSE(OnOneDrive("\\\\S\\X", "\\\\S\\Y")) << "no drive letter";
}

// The CRC of ZIP and PNG, the same whether the bytes come in one block or several.
TEST(Crc32, TheCheckValueInOneBlockOrMany)
{
    Crc32Table t;
    MakeCrc32Table(t);
    EXPECT_EQ(0xCBF43926UL, Crc32Add(t, 0, "123456789", 9));
    EXPECT_EQ(0xCBF43926UL, Crc32Add(t, Crc32Add(t, Crc32Add(t, 0, "1", 1), "2345", 4), "6789", 4));
    EXPECT_EQ(0UL, Crc32Add(t, 0, "", 0));
    EXPECT_NE(Crc32Add(t, 0, "123456789", 9), Crc32Add(t, 0, "123456780", 9));
}

TEST(LogLines, FieldsTravelWholeAndATornLineIsNotTaken)
{
    const char *const fields[] = {"C:\\ORVEL\\KXMAIN.EXE", "", "a\tb\r\nc", "100%41", "\x7f\x01\xe9"};
    char line[64] = "";
    for (const char *f : fields)
        ASSERT_TRUE(AddLogField(line, sizeof line, f)) << f;
    EXPECT_EQ(nullptr, strchr(line, '\n')) << line;
    const unsigned char bytes[] = {0, 0x41, 0xff};
    ASSERT_TRUE(AddLogBytes(line, sizeof line, bytes, 3));
    for (int i = 0; i < 5; i++) {
        char back[32];
        ASSERT_TRUE(LogField(line, i, back, sizeof back)) << i;
        EXPECT_STREQ(fields[i], back) << i;
    }
    unsigned char read[8];
    ASSERT_EQ(3, LogBytes(line, 5, read, sizeof read));
    EXPECT_EQ(0, memcmp(bytes, read, 3));
    char field[8];
    EXPECT_FALSE(LogField(line, 6, field, sizeof field)) << "no such field";
    EXPECT_FALSE(LogField(line, 0, field, sizeof field)) << "one that does not fit";
    std::string before = line;
    EXPECT_FALSE(AddLogField(line, sizeof line, std::string(40, 'x').c_str()));
    EXPECT_EQ(before, line) << "a field that does not fit leaves the line as it was";
    char full[8] = "1234567";
    EXPECT_FALSE(AddLogField(full, sizeof full, "")) << "no room for an empty field's tab";
    EXPECT_STREQ("1234567", full);

    const char text[] = "A\tB\r\n\r\nC\tD";   // the last line has no end: torn
    char got[16];
    int at = 0;
    EXPECT_EQ(1, NextLogLine(text, sizeof text - 1, &at, got, sizeof got));
    EXPECT_STREQ("A\tB", got);
    EXPECT_EQ(1, NextLogLine(text, sizeof text - 1, &at, got, sizeof got));
    EXPECT_STREQ("", got);
    EXPECT_EQ(0, NextLogLine(text, sizeof text - 1, &at, got, sizeof got)) << "torn";
    at = 0;
    EXPECT_EQ(-1, NextLogLine(text, sizeof text - 1, &at, got, 3)) << "longer than the buffer";
}

TEST(ProfileFile, ReadsAsThePrivateProfileServices)
{
    std::string text = "top=before any section\r\n"
                       "[One]  words after the bracket\r\n"
                       "  Key  =  first value  \r\nkey=second\r\n"
                       "Quoted=\"a b\"\r\nLone=\"x\r\nBare\r\n;Hidden=1\r\n"
                       "[ Two ]\r\nn=1\r\n"
                       "[one]\r\nOther=never read\r\n"
                       "[Numbers]\nminus= -5\nwide=65537\nmixed=12abc\nempty=\nword=abc\n"
                       "quoted=\"7\"\nspaced=\" 8\"\nhex=0x1F\nupper=0X10\nbinary=-0b11\nsign=- 5\n\x1a";
    UseProfileText(text.data(), text.size());
    EXPECT_EQ("first value", ProfileText("ONE", " key ")) << "case, blanks, the first key";
    EXPECT_EQ("dflt", ProfileText("One", "Other")) << "only the first section of a name";
    EXPECT_EQ("a b", ProfileText("One", "Quoted"));
    EXPECT_EQ("\"x", ProfileText("One", "Lone"));
    EXPECT_EQ("dflt", ProfileText("One", "Bare")) << "a key without a value";
    EXPECT_EQ("dflt", ProfileText("One", "Hidden"));
    EXPECT_EQ("before any section", ProfileText("", "top")) << "the part without a name";
    EXPECT_EQ("1", ProfileText("Two", "n")) << "a section name loses its outer blanks";
    EXPECT_EQ("fir", ProfileText("One", "Key", 4)) << "at most size - 1 characters";
    EXPECT_EQ((unsigned)-5, ReadProfileInt("Numbers", "minus", 3));
    EXPECT_EQ(65537u, ReadProfileInt("Numbers", "wide", 3));
    EXPECT_EQ(12u, ReadProfileInt("Numbers", "mixed", 3));
    EXPECT_EQ(3u, ReadProfileInt("Numbers", "empty", 3));
    EXPECT_EQ(3u, ReadProfileInt("Numbers", "missing", 3));
    EXPECT_EQ(0u, ReadProfileInt("Numbers", "word", 3));
    EXPECT_EQ(7u, ReadProfileInt("Numbers", "quoted", 3));
    EXPECT_EQ(8u, ReadProfileInt("Numbers", "spaced", 3));
    EXPECT_EQ(31u, ReadProfileInt("Numbers", "hex", 3));
    EXPECT_EQ(0u, ReadProfileInt("Numbers", "upper", 3)) << "prefixes in lower case only";
    EXPECT_EQ((unsigned)-3, ReadProfileInt("Numbers", "binary", 3));
    EXPECT_EQ(0u, ReadProfileInt("Numbers", "sign", 3));
    std::vector<std::string> keys = ProfileKeys("one");
    EXPECT_EQ((std::vector<std::string>{"Key", "key", "Quoted", "Lone"}), keys);
}

}  // namespace
