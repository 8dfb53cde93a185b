// Checks a package before a medium is made of it: its SETUP.INF is loaded by SETUP.EXE's
// own loader rules, built natively, and what the load gives is held against the files.
//   check-package [--list FILE] PACKAGE_DIR
//   check-package --show SCRIPT
//   check-package --checksum FILE...
// Prints one line per finding, "error: ..." or "warning: ...", each naming the file and
// the section and key, and exits 1 when there is an error, 0 otherwise. With --list,
// FILE receives what a medium is made of, one line each:
//   disk<TAB>N<TAB>LABEL
//   file<TAB>DISK<TAB>SOURCE_DIR<TAB>SOURCE_NAME<TAB>PACKAGE_FILE<TAB>CHECKSUM
// SOURCE_DIR with slashes ("." for the medium's root); PACKAGE_FILE relative to
// PACKAGE_DIR, spelled as found there; CHECKSUM the file's size and CRC-32 as
// [Checksums] holds them ("-" for the script itself). Where the script has a
// [Checksums] section, each value is held against its package file. --show prints what
// SETUP.EXE loads from a script, one value a line; --checksum prints each file's size
// and CRC-32 in that form.
#include <dirent.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "loader_dump.h"
#include "script_names.h"
#include "native_loader.h"
#include "profile_file.h"
#include "shared/setup_state.h"
#include "shared/bounded_text.h"
#include "shared/script_field.h"
#include "shared/script_rules.h"
#include "shared/path_text.h"
#include "shared/crc32.h"
#include "resource.h"

namespace {

std::string Package;      // as given, without a trailing slash
std::string ScriptFile;   // Package + "/SETUP.INF"
int ErrorCount;

// One non-empty file line within its disk's count, as loaded.
struct Entry {
    int disk, key;              // both from 1
    int slot;                   // -1: no known keyword
    const FileEntry *loaded;
    std::string packageFile;    // relative to Package as found there; empty when missing
    long long size;
    std::string checksum;       // the package file's, as [Checksums] writes it; empty for
                                // the script itself, which cannot hold its own
};
std::vector<Entry> Entries;

std::string Number(long long n)
{
    return std::to_string(n);
}

std::string Quoted(const std::string &text)
{
    return "\"" + text + "\"";
}

void Report(const char *level, const std::string &file, const std::string &where,
            const std::string &what)
{
    printf("%s: %s: %s%s\n", level, file.c_str(), where.empty() ? "" : (where + ": ").c_str(),
           what.c_str());
}

void Error(const std::string &where, const std::string &what)
{
    Report("error", ScriptFile, where, what);
    ErrorCount++;
}

void Warning(const std::string &where, const std::string &what)
{
    Report("warning", ScriptFile, where, what);
}

std::string Where(unsigned int sectionId, const std::string &key)
{
    return "[" + Text(sectionId) + "]" + (key.empty() ? "" : " " + key);
}

std::string EntryWhere(const Entry &e)
{
    return "[" + DiskSection(e.disk) + "] " + Number(e.key);
}

// The name in dir that matches name without regard to case, an exact match first.
std::string FindName(const std::string &dir, const std::string &name)
{
    DIR *d = opendir(dir.c_str());
    if (!d)
        return "";
    std::string found;
    while (dirent *e = readdir(d)) {
        if (!strcmp(e->d_name, name.c_str())) {
            found = e->d_name;
            break;
        }
        if (found.empty() && !strcasecmp(e->d_name, name.c_str()))
            found = e->d_name;
    }
    closedir(d);
    return found;
}

// A file of the package by its relative path in any case, as spelled there; "" when none.
std::string FindInPackage(const std::string &relative)
{
    std::string resolved, part;
    for (size_t i = 0; i <= relative.size(); i++) {
        if (i < relative.size() && relative[i] != '/') {
            part += relative[i];
            continue;
        }
        if (!part.empty()) {
            std::string found = FindName(JoinPath(Package, resolved), part);
            if (found.empty())
                return "";
            resolved = JoinPath(resolved, found);
        }
        part.clear();
    }
    struct stat st;
    if (resolved.empty() || stat(JoinPath(Package, resolved).c_str(), &st) || !S_ISREG(st.st_mode))
        return "";
    return resolved;
}

// A size and a CRC-32 as [Checksums] holds them: "SIZE,CRC", the CRC in eight upper-case
// hexadecimal digits.
std::string ChecksumText(unsigned long size, unsigned long crc)
{
    char text[32];
    snprintf(text, sizeof text, "%lu,%08lX", size, crc & 0xFFFFFFFFul);
    return text;
}

// A file's size and CRC-32 in that form; "" when it cannot be read.
std::string ChecksumOf(const std::string &path)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return "";
    Crc32Table table;
    MakeCrc32Table(table);
    unsigned long crc = 0, size = 0;
    char block[65536];
    size_t got;
    while ((got = fread(block, 1, sizeof block, f)) > 0) {
        crc = Crc32Add(table, crc, block, (unsigned long)got);
        size += (unsigned long)got;
    }
    bool read = !ferror(f);
    fclose(f);
    return read ? ChecksumText(size, crc) : "";
}

long long FileSize(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) ? 0 : (long long)st.st_size;
}

void ListPackageFiles(const std::string &relative, int depth, std::vector<std::string> &files)
{
    DIR *d = opendir(JoinPath(Package, relative).c_str());
    if (!d || depth > 16) {
        if (d)
            closedir(d);
        return;
    }
    while (dirent *e = readdir(d)) {
        if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, ".."))
            continue;
        std::string name = JoinPath(relative, e->d_name);
        struct stat st;
        if (stat(JoinPath(Package, name).c_str(), &st))
            continue;
        if (S_ISDIR(st.st_mode))
            ListPackageFiles(name, depth + 1, files);
        else if (S_ISREG(st.st_mode))
            files.push_back(name);
    }
    closedir(d);
}

// A name that a floppy disk without long names holds as it is: at most 8 characters,
// a dot and at most 3 more, none that DOS forbids.
bool IsShortName(const std::string &name)
{
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3 ||
        extension.find('.') != std::string::npos)
        return false;
    for (char c : name)
        if ((unsigned char)c <= ' ' || strchr("\"*+,/:;<=>?[\\]|", c))
            return false;
    return true;
}

void CheckDisks(void)
{
    int counted = SetupState.DiskCount;
    for (int d = 1; d <= MAX_DISKS; d++) {
        if (d <= counted) {
            if (!SetupState.DiskLabels[d - 1][0])
                Warning(Where(IDS_DISKLABEL, DiskSection(d)),
                        "disk " + Number(d) + " has no label (the " + Number(counted) +
                        " non-empty labels give the number of disks)");
            continue;
        }
        bool used = !ProfileKeys(DiskSection(d).c_str()).empty() ||
                    ReadScriptNumber(Text(IDS_FILECOUNTS).c_str(), DiskSection(d).c_str(), 0);
        if (used)
            Warning("[" + DiskSection(d) + "]",
                    "disk " + Number(d) + " is beyond the " + Number(counted) +
                    " disks that the non-empty labels of [" + Text(IDS_DISKLABEL) +
                    "] count: its files are never installed");
    }
}

// What the loader adds up before it gives up: the counts as held, negative ones as none.
void ReportLoadFailure(void)
{
    long total = 0;
    for (int d = 1; d <= SetupState.DiskCount; d++) {
        short count = (short)ReadScriptNumber(Text(IDS_FILECOUNTS).c_str(), DiskSection(d).c_str(), 0);
        total += count < 0 ? 0 : count;
    }
    Error(Where(IDS_FILECOUNTS, ""),
          "the file counts add up to " + Number(total) + ", more than 32767: SETUP.EXE cannot "
          "load the script and stops with \"SETUP.INF Reading error !\"");
}

void ReportMissingRun(int disk, int first, int last)
{
    std::string keys = first == last ? Number(first) : Number(first) + " to " + Number(last);
    Warning("[" + DiskSection(disk) + "] " + keys,
            std::string(first == last ? "no entry" : "no entries") + ", though " +
            Where(IDS_FILECOUNTS, DiskSection(disk)) + " is " +
            Number(SetupState.DiskFileCount[disk - 1]) + ": empty records that install nothing");
}

void CheckCount(int disk)
{
    std::string section = DiskSection(disk);
    int written = ReadScriptNumber(Text(IDS_FILECOUNTS).c_str(), section.c_str(), 0);
    short held = SetupState.DiskFileCount[disk - 1];
    if (written != held)
        Warning(Where(IDS_FILECOUNTS, section),
                Number(written) + " is taken as " + Number(held) +
                (written < 0 ? " (a negative count counts as none)" : " (counts are 16-bit numbers)"));
    std::set<std::string> seen;
    for (const std::string &key : ProfileKeys(section.c_str())) {
        std::string where = "[" + section + "] " + key;
        if (!seen.insert(Lower(key)).second) {
            Warning(where, "given twice: only the first is read");
            continue;
        }
        long n = FileNumber(key);
        if (n < 0)
            Warning(where, "not a file number: SETUP.EXE never reads it");
        else if (n > held)
            Warning(where, "beyond " + Where(IDS_FILECOUNTS, section) + " = " + Number(held) +
                           ": this file is never installed");
    }
    int runStart = 0;
    for (int k = 1; k <= held + 1; k++) {
        char line[256] = "";
        if (k <= held)
            ReadScriptText(section.c_str(), std::to_string(k).c_str(), "", line, sizeof line);
        if (k <= held && !line[0]) {
            if (!runStart)
                runStart = k;
        } else if (runStart) {
            ReportMissingRun(disk, runStart, k - 1);
            runStart = 0;
        }
    }
}

std::string SlotNames(void)
{
    std::string names;
    for (int slot = 0; slot < DIRECTORY_SLOTS; slot++)
        names += (slot ? ", " : "") + Text(IDS_ROOTDIR + slot);
    return names;
}

void CheckSlotOnce(int slot)
{
    static std::set<int> checked;
    if (!checked.insert(slot).second)
        return;
    std::string value = SetupState.DirectorySlots[slot];
    std::string where = Where(IDS_DIRECTORYNAME, Text(IDS_ROOTDIR + slot));
    if (value.size() >= sizeof(((FileEntry *)0)->SourceDir)) {
        Error(where, Quoted(value) + " is longer than " +
                     Number(sizeof(((FileEntry *)0)->SourceDir) - 1) +
                     " characters: SETUP.EXE would cut it to " +
                     Quoted(value.substr(0, sizeof(((FileEntry *)0)->SourceDir) - 1)));
        return;
    }
    if (slot >= SLOT_SUBDIR1 && slot < SLOT_SUBDIR1 + 6 && !value.empty() &&
        !IsRelativeDir(value.c_str())) {
        Error(where, Quoted(value) + " is no directory below the destination (a drive, a "
                     "backslash at its start or a \"..\" part): SETUP.EXE makes none such");
        return;
    }
    std::string relative = RelativeDir(value), part;
    for (size_t i = 0; i <= relative.size(); i++) {
        if (i < relative.size() && relative[i] != '/') {
            part += relative[i];
            continue;
        }
        if (!part.empty() && part != ".." && !IsShortName(part))
            Warning(where, Quoted(part) + " is not an 8.3 name: a floppy disk holds it under another name");
        part.clear();
    }
}

void CheckName(const std::string &where, const char *what, const std::string &written,
               const char *kept, size_t size)
{
    if (written.empty())
        Error(where, std::string("no ") + what);
    else if (written.size() >= size)
        Error(where, std::string(what) + " " + Quoted(written) + " is longer than " +
                     Number(size - 1) + " characters: SETUP.EXE would use " + Quoted(kept));
}

void CheckEntry(Entry &e, const char *line)
{
    char field[4][SCRIPT_FIELD_SIZE];
    const char *rest = line;
    for (auto &f : field)
        rest = SplitScriptField(rest, f);
    const FileEntry *loaded = e.loaded;
    std::string where = EntryWhere(e);
    CheckName(where, "source name", field[0], loaded->SourceName, sizeof loaded->SourceName);
    CheckName(where, "target name", field[1], loaded->TargetName, sizeof loaded->TargetName);
    if (field[0][0] && strlen(field[0]) < sizeof loaded->SourceName && !IsShortName(field[0]))
        Warning(where, "source name " + Quoted(field[0]) +
                       " is not an 8.3 name: a floppy disk holds it under another name");
    if (strlen(field[2]) >= sizeof loaded->Description)
        Warning(where, "the description is longer than " + Number(sizeof loaded->Description - 1) +
                       " characters: the copy page shows " + Quoted(loaded->Description));
    e.slot = FindDirectorySlot(field[3]);
    if (e.slot < 0) {
        Error(where, (field[3][0] ? "unknown directory keyword " + Quoted(field[3])
                                  : std::string("no directory keyword")) +
                     " (one of " + SlotNames() + ")");
        return;
    }
    CheckSlotOnce(e.slot);
    if (!field[1][0])
        return;
    std::string expected = JoinPath(RelativeDir(SetupState.DirectorySlots[e.slot]), field[1]);
    e.packageFile = FindInPackage(expected);
    if (e.packageFile.empty())
        Error(where, std::string(field[1]) + " is missing from the package: there is no " +
                     JoinPath(Package, expected));
    else
        e.size = FileSize(JoinPath(Package, e.packageFile));
    if (!e.packageFile.empty() && Lower(e.packageFile) != "setup.inf")
        e.checksum = ChecksumOf(JoinPath(Package, e.packageFile));
}

void CheckEntries(void)
{
    for (int d = 1; d <= SetupState.DiskCount; d++) {
        std::string section = DiskSection(d);
        for (int k = 1; k <= SetupState.DiskFileCount[d - 1]; k++) {
            std::string key = std::to_string(k);
            char line[256], whole[4096];
            ReadScriptText(section.c_str(), key.c_str(), "", line, sizeof line);
            if (!line[0])
                continue;
            Entry e = {d, k, -1, SetupState.DiskFirstEntry[d - 1] + k - 1, "", 0};
            if (ReadProfileString(section.c_str(), key.c_str(), "", whole, sizeof whole) > 255)
                Warning(EntryWhere(e), "the line is longer than 255 characters: SETUP.EXE "
                                       "reads only the first 255");
            CheckEntry(e, line);
            Entries.push_back(e);
        }
    }
}

std::string TargetShown(const FileEntry *f)
{
    return (f->TargetIsAbsolute ? "" : "<destination>\\") + std::string(f->TargetDir) + "\\" +
           f->TargetName;
}

void CheckDuplicates(void)
{
    std::map<std::string, const Entry *> targets, sources;
    for (const Entry &e : Entries) {
        if (e.slot < 0 || !e.loaded->TargetName[0])
            continue;
        std::string target = (e.loaded->TargetIsAbsolute ? "/" : "") +
                             Lower(JoinPath(RelativeDir(e.loaded->TargetDir), e.loaded->TargetName));
        auto t = targets.find(target);
        if (t != targets.end())
            Error(EntryWhere(e), "its target " + TargetShown(e.loaded) + " is also that of " +
                                 EntryWhere(*t->second) + ": one would overwrite the other");
        else
            targets[target] = &e;
        std::string source = Lower(JoinPath(RelativeDir(e.loaded->SourceDir), e.loaded->SourceName));
        auto s = sources.find(source);
        if (s != sources.end() && !e.packageFile.empty() && !s->second->packageFile.empty() &&
            Lower(s->second->packageFile) != Lower(e.packageFile))
            Error(EntryWhere(e), "its source " + JoinPath(RelativeDir(e.loaded->SourceDir),
                                                          e.loaded->SourceName) +
                                 " on the medium is also that of " + EntryWhere(*s->second) +
                                 ", made from another file of the package");
        else if (s == sources.end())
            sources[source] = &e;
    }
}

// The script's [Checksums] value for each entry, where there is one, held against the
// package's file. A medium is made with the section anew (making): there a value that
// no longer matches is out of date, not an error.
void CheckChecksums(bool making)
{
    std::map<std::string, const Entry *> named;
    for (const Entry &e : Entries) {
        if (e.checksum.empty())
            continue;
        std::string where = "[Checksums] " + std::string(e.loaded->SourceName);
        auto n = named.find(Lower(e.loaded->SourceName));
        if (n != named.end() && n->second->checksum != e.checksum)
            Error(EntryWhere(e), "its source name is also that of " + EntryWhere(*n->second) +
                                 ", made from another file: [Checksums] cannot tell them apart");
        named[Lower(e.loaded->SourceName)] = &e;
        char value[256];
        ReadScriptText("Checksums", e.loaded->SourceName, "", value, sizeof value);
        const FileCheck *check = FileCheckOf(e.loaded);
        std::string held = check ? ChecksumText(check->Size, check->Crc) : "";
        std::string what = !value[0] ? "" : !check
            ? Quoted(value) + " is not a size and a CRC-32: SETUP.EXE checks nothing for it"
            : e.checksum == held ? "" : e.packageFile + " no longer matches it (it is " +
              e.checksum + " now): a medium made before the file changed is out of date";
        if (what.empty())
            continue;
        if (making)
            Warning(where, what + "; the medium gets the section anew");
        else
            Error(where, what);
    }
}

// RootDir names the destination itself: every command setup registers (the Run value,
// the property page, the uninstall entry) is the destination followed by a file name.
// An absent RootDir loads empty: "<destination>\" + "" + "\NAME", the destination
// itself as with ".", where the doubled separator counts as one.
void CheckRootDir(void)
{
    std::string value = SetupState.DirectorySlots[SLOT_ROOTDIR];
    if (RelativeDir(value).empty())
        return;
    Error(Where(IDS_DIRECTORYNAME, Text(IDS_ROOTDIR)),
          Quoted(value) + " is not \".\": the files of keyword " + Text(IDS_ROOTDIR) +
          " would go to <destination>\\" + value + " (setup makes no directory for it), and "
          "none of the commands it registers (the Run value, the property page, the uninstall "
          "entry, each <destination>\\NAME) looks there");
}

// The uninstaller and the script it reads must be installed into the destination by
// disk 1, and belong among its first two files, so that a copy cancelled early still
// leaves a way to remove the package.
void CheckFirstFiles(void)
{
    for (const char *name : {"SETUP.INF", "UNINSTAL.EXE"}) {
        const Entry *found = 0, *other = 0;
        for (const Entry &e : Entries)
            if (SameTextNoCase(e.loaded->TargetName, name)) {
                if (e.disk == 1 && e.slot == SLOT_ROOTDIR) {
                    if (!found)
                        found = &e;
                } else if (!other)
                    other = &e;
            }
        if (found) {
            if (found->key > 2)
                Warning(EntryWhere(*found), std::string(name) + " is file " + Number(found->key) +
                                            " of disk 1; it belongs among the first two, so that "
                                            "a copy cancelled early leaves a way to remove the package");
            continue;
        }
        std::string what = std::string(name) + " is not installed into the destination by disk 1 "
                           "(a [" + DiskSection(1) + "] entry with that target name and keyword " +
                           Text(IDS_ROOTDIR) + ")";
        if (other)
            what += ": " + EntryWhere(*other) + " installs it" +
                    (other->disk != 1 ? " from disk " + Number(other->disk) : "") +
                    (other->slot < 0 ? " without a known keyword"
                     : other->slot != SLOT_ROOTDIR ? " into " + TargetShown(other->loaded) : "");
        what += std::string("; ") +
                (!strcmp(name, "SETUP.INF")
                     ? "the uninstaller reads <destination>\\SETUP.INF, its record of what to "
                       "remove and put back"
                     : "the uninstall entry that setup registers runs <destination>\\UNINSTAL.EXE") +
                ", which must be there whatever part of the copy is done";
        Error("[" + DiskSection(1) + "]", what);
    }
}

// The uninstall list names the package by its title.
void CheckTitle(void)
{
    if (!SetupState.Title[0])
        Warning(Where(IDS_STARTUP, Text(IDS_TITLE)),
                "missing: the uninstall list and the uninstaller's question show the product "
                "name " + Quoted(SetupState.ProductName) + " instead");
}

void CheckMinimumSpace(void)
{
    std::string where = Where(IDS_MAIN, Text(IDS_MINIMUMSPACE));
    int written = ReadScriptNumber(Text(IDS_MAIN).c_str(), Text(IDS_MINIMUMSPACE).c_str(), 1024);
    short held = SetupState.MinimumSpace;
    if (held < 0) {
        Error(where, (written == held ? Number(written) + " is negative"
                                      : Number(written) + " is held in 16 bits as " + Number(held)) +
                     ": a negative figure asks for about 4 TB, so no drive has room and setup "
                     "cannot get past the destination page");
        return;
    }
    if (written != held)
        Warning(where, Number(written) + " is held in 16 bits as " + Number(held) + " KB");
    long long bytes = 0;
    for (const Entry &e : Entries)
        bytes += e.size;
    long long kilobytes = (bytes + 1023) / 1024;
    if (held < kilobytes)
        Warning(where, Number(held) + " KB is less than the " + Number(kilobytes) +
                       " KB that the package's files take expanded");
}

void CheckUnlisted(void)
{
    std::set<std::string> installed;
    for (const Entry &e : Entries)
        if (!e.packageFile.empty())
            installed.insert(Lower(e.packageFile));
    std::vector<std::string> files;
    ListPackageFiles("", 0, files);
    for (const std::string &file : files)
        if (Lower(file) != "setup.inf" && !installed.count(Lower(file)))
            Report("warning", JoinPath(Package, file), "",
                   "a file of the package that the script does not install");
}

std::string MediumDir(const char *sourceDir)
{
    std::string dir = RelativeDir(sourceDir);
    return dir.empty() ? "." : dir;
}

int WriteList(const char *path)
{
    FILE *list = fopen(path, "w");
    if (!list)
        return 0;
    for (int d = 1; d <= SetupState.DiskCount; d++)
        fprintf(list, "disk\t%d\t%s\n", d, SetupState.DiskLabels[d - 1]);
    for (const Entry &e : Entries)
        if (e.slot >= 0 && !e.packageFile.empty())
            fprintf(list, "file\t%d\t%s\t%s\t%s\t%s\n", e.disk,
                    MediumDir(e.loaded->SourceDir).c_str(), e.loaded->SourceName,
                    e.packageFile.c_str(), e.checksum.empty() ? "-" : e.checksum.c_str());
    return fclose(list) == 0;
}

int Usage(void)
{
    fprintf(stderr, "usage: check-package [--list FILE] PACKAGE_DIR\n"
                    "       check-package --show SCRIPT\n"
                    "       check-package --checksum FILE...\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && !strcmp(argv[1], "--checksum")) {
        for (int f = 2; f < argc; f++) {
            std::string sum = ChecksumOf(argv[f]);
            if (sum.empty()) {
                Report("error", argv[f], "", "cannot be read");
                return 1;
            }
            printf("%s\n", sum.c_str());
        }
        return 0;
    }
    if (argc == 3 && !strcmp(argv[1], "--show")) {
        int loaded = LoadScriptFile(argv[2]);
        fputs(DumpLoadedScript(loaded).c_str(), stdout);
        return 0;
    }
    const char *listPath = 0;
    int i = 1;
    if (i + 1 < argc && !strcmp(argv[i], "--list")) {
        listPath = argv[i + 1];
        i += 2;
    }
    if (i + 1 != argc)
        return Usage();
    Package = argv[i];
    while (Package.size() > 1 && Package[Package.size() - 1] == '/')
        Package.erase(Package.size() - 1);
    ScriptFile = JoinPath(Package, "SETUP.INF");
    struct stat st;
    if (stat(ScriptFile.c_str(), &st) || !S_ISREG(st.st_mode)) {
        Report("error", ScriptFile, "", "there is no setup script");
        return 1;
    }
    int loaded = LoadScriptFile(ScriptFile.c_str());
    CheckDisks();
    if (!loaded) {
        ReportLoadFailure();
        return 1;
    }
    for (int d = 1; d <= SetupState.DiskCount; d++)
        CheckCount(d);
    CheckRootDir();
    CheckEntries();
    CheckDuplicates();
    CheckChecksums(listPath != 0);
    CheckFirstFiles();
    CheckMinimumSpace();
    CheckTitle();
    CheckUnlisted();
    if (listPath && !WriteList(listPath)) {
        Report("error", listPath, "", "cannot be written");
        return 1;
    }
    return ErrorCount ? 1 : 0;
}
