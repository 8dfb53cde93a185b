// The rig's Windows 95/98 answers themselves: each row calls the same functions once
// through W9X.DLL and once as Wine exports them, and must see what Windows 95/98
// answer (its source named) from the first and something else from the second.
#include <gtest/gtest.h>
#include <functional>
#include "testlib.h"

namespace {

// The functions a row may call, from one DLL or the other.
struct Api {
    decltype(&RegCreateKeyExA) RegCreateKeyExA;
    decltype(&RegOpenKeyExA) RegOpenKeyExA;
    decltype(&RegCloseKey) RegCloseKey;
    decltype(&RegSetValueExA) RegSetValueExA;
    decltype(&RegQueryValueExA) RegQueryValueExA;
    decltype(&RegDeleteKeyA) RegDeleteKeyA;
    decltype(&CreateFileA) CreateFileA;
    decltype(&MoveFileExA) MoveFileExA;
    decltype(&SetFileTime) SetFileTime;
    decltype(&FindFirstFileA) FindFirstFileA;
    decltype(&WritePrivateProfileStringA) WritePrivateProfileStringA;
    decltype(&GetFileAttributesA) GetFileAttributesA;
    decltype(&SetErrorMode) SetErrorMode;
};

template <typename F> void Take(F &f, HMODULE a, HMODULE b, const char *name)
{
    FARPROC p = GetProcAddress(a, name);
    f = reinterpret_cast<F>(p ? p : GetProcAddress(b, name));
    ASSERT_TRUE(f) << name;
}

// The functions of module, or where it has none of that name, of the system's.
Api Functions(HMODULE module)
{
    HMODULE k = GetModuleHandleA("kernel32.dll"), r = LoadLibraryA("advapi32.dll");
    HMODULE a = module ? module : r, f = module ? module : k;
    Api api{};
    Take(api.RegCreateKeyExA, a, r, "RegCreateKeyExA");
    Take(api.RegOpenKeyExA, a, r, "RegOpenKeyExA");
    Take(api.RegCloseKey, a, r, "RegCloseKey");
    Take(api.RegSetValueExA, a, r, "RegSetValueExA");
    Take(api.RegQueryValueExA, a, r, "RegQueryValueExA");
    Take(api.RegDeleteKeyA, a, r, "RegDeleteKeyA");
    Take(api.CreateFileA, f, k, "CreateFileA");
    Take(api.MoveFileExA, f, k, "MoveFileExA");
    Take(api.SetFileTime, f, k, "SetFileTime");
    Take(api.FindFirstFileA, f, k, "FindFirstFileA");
    Take(api.WritePrivateProfileStringA, f, k, "WritePrivateProfileStringA");
    Take(api.GetFileAttributesA, f, k, "GetFileAttributesA");
    Take(api.SetErrorMode, f, k, "SetErrorMode");
    return api;
}

const char TestKey[] = "Software\\W9XAnswers";
const char Dir[] = "C:\\t\\w9x";

std::string Code(LONG code)
{
    return std::to_string(code);
}

// A file's last-write time, as the 100 ns steps since 1601, read by api.
ULONGLONG WriteTime(const Api &api, const std::string &path)
{
    WIN32_FIND_DATAA found;
    HANDLE find = api.FindFirstFileA(path.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(find);
    return (ULONGLONG)found.ftLastWriteTime.dwHighDateTime << 32 | found.ftLastWriteTime.dwLowDateTime;
}

// 1 July 1998 12:00:01 UTC, an odd second.
FILETIME SummerNoon()
{
    SYSTEMTIME noon = {1998, 7, 3, 1, 12, 0, 1, 0};
    FILETIME t;
    SystemTimeToFileTime(&noon, &t);
    return t;
}

// The file given that last-write time by api.
void SetSummerNoon(const Api &api, const std::string &path)
{
    FILETIME t = SummerNoon();
    HANDLE file = api.CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    api.SetFileTime(file, 0, 0, &t);
    CloseHandle(file);
}
const ULONGLONG Hour = 36000000000ULL;

struct Row {
    const char *source, *what;
    std::function<std::string(const Api &)> run;
    std::string win98;         // what Windows 95/98 answer
    bool wineAgrees = false;   // Wine set to Windows 98 gives its Win9x answer too
};

const Row Rows[] = {
    {"advapi32 registry.c, test_reg_close_key", "a key opened again while open",
     [](const Api &api) {
         HKEY a, b;
         api.RegCreateKeyExA(HKEY_CURRENT_USER, TestKey, 0, 0, 0, KEY_ALL_ACCESS, 0, &a, 0);
         api.RegOpenKeyExA(HKEY_CURRENT_USER, TestKey, 0, KEY_ALL_ACCESS, &b);
         std::string seen = a == b ? "the same handle" : "another handle";
         api.RegCloseKey(b);
         seen += ", the other holder's write after one close: " + Code(api.RegSetValueExA(a, "v", 0, REG_SZ, (const BYTE *)"x", 1));
         api.RegCloseKey(a);
         return seen;
     },
     "the same handle, the other holder's write after one close: 6"},
    {"Visual C++ 6, CRegKey::DeleteSubKey: \"Under Windows 95, DeleteSubKey deletes the key and all its subkeys\"",
     "a key with a subkey deleted",
     [](const Api &api) {
         HKEY sub;
         api.RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(TestKey) + "\\Sub").c_str(), 0, 0, 0, KEY_ALL_ACCESS, 0, &sub, 0);
         api.RegCloseKey(sub);
         LONG deleted = api.RegDeleteKeyA(HKEY_CURRENT_USER, TestKey);
         std::string there = GetRegText(HKEY_CURRENT_USER, TestKey, "") == "<no key>" ? "gone" : "there";
         DeleteRegTree(HKEY_CURRENT_USER, TestKey);
         return Code(deleted) + ", the key " + there;
     },
     "0, the key gone", true},
    {"advapi32 registry.c, test_query_value_ex: broken(size == sizeof(string)) /* Win9x */",
     "a REG_SZ stored without its NUL, read back",
     [](const Api &api) {
         HKEY key;
         api.RegCreateKeyExA(HKEY_CURRENT_USER, TestKey, 0, 0, 0, KEY_ALL_ACCESS, 0, &key, 0);
         api.RegSetValueExA(key, "v", 0, REG_SZ, (const BYTE *)"abc", 3);
         char data[16] = "zzzzzzz";
         DWORD size = sizeof data;
         api.RegQueryValueExA(key, "v", 0, 0, (BYTE *)data, &size);
         api.RegCloseKey(key);
         DeleteRegTree(HKEY_CURRENT_USER, TestKey);
         return "size " + std::to_string(size) + ", byte 3 " + std::to_string(data[3]);
     },
     "size 4, byte 3 0", true},
    {"Microsoft, File Times: FAT keeps local time, the write time in 2-second steps",
     "a time set at an odd second, as the disk keeps it (Wine's own look)",
     [](const Api &api) {
         std::string path = std::string(Dir) + "\\TIME.TXT";
         SetSummerNoon(api, path);
         FILETIME t = SummerNoon();
         ULONGLONG set = (ULONGLONG)t.dwHighDateTime << 32 | t.dwLowDateTime;
         return std::to_string((long long)(WriteTime(Functions(0), path) - set)) + " steps off";
     },
     "-10000000 steps off"},
    {"Microsoft, File Times: converted with the bias in force now",
     "set at a bias of -60 minutes, read after the switch to 0",
     [](const Api &api) {
         std::string path = std::string(Dir) + "\\TIME.TXT";
         bool w9x = (FARPROC)api.SetFileTime != GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetFileTime");
         SetWin98Bias(-60);
         HMODULE again = w9x ? (FreeLibrary(GetModuleHandleA("W9X.DLL")), LoadLibraryA("W9X.DLL")) : 0;   // a new run
         Api summer = again ? Functions(again) : api;
         SetSummerNoon(summer, path);
         ULONGLONG inSummer = WriteTime(summer, path);
         SetWin98Bias(0);
         HMODULE winter = again ? (FreeLibrary(again), LoadLibraryA("W9X.DLL")) : 0;
         ULONGLONG inWinter = WriteTime(winter ? Functions(winter) : api, path);
         return std::to_string((long long)(inWinter - inSummer) / (long long)Hour) + " hour(s) on";
     },
     "1 hour(s) on"},
    {"kernel32 file.c, test_file_sharing: \"Win9x doesn't support FILE_SHARE_DELETE\"",
     "CreateFileA with FILE_SHARE_DELETE",
     [](const Api &api) {
         SetLastError(0);
         HANDLE file = api.CreateFileA((std::string(Dir) + "\\SHARE.TXT").c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_DELETE, 0, CREATE_ALWAYS, 0, 0);
         DWORD error = GetLastError();
         if (file != INVALID_HANDLE_VALUE)
             CloseHandle(file);
         return file == INVALID_HANDLE_VALUE ? "refused, error " + std::to_string(error) : std::string("opened");
     },
     "refused, error 87"},
    {"Microsoft KB Q129532: Windows 95 does not implement MoveFileEx", "MoveFileExA",
     [](const Api &api) {
         std::string from = std::string(Dir) + "\\FROM.TXT", to = std::string(Dir) + "\\TO.TXT";
         WriteWholeFile(from, "x");
         DeleteFileA(to.c_str());
         SetLastError(0);
         BOOL moved = api.MoveFileExA(from.c_str(), to.c_str(), 0);
         return moved ? std::string("moved") : "refused, error " + std::to_string(GetLastError());
     },
     "refused, error 120"},
    {"WritePrivateProfileString: \"If all parameters are NULL, the function flushes the cache\"",
     "a profile write, as the file reads before the flush, after one of its own name, after the flush",
     [](const Api &api) {
         std::string ini = std::string(Dir) + "\\CACHE.INI";
         WriteWholeFile(ini, "[s]\r\nk=old\r\n");
         api.WritePrivateProfileStringA("s", "k", "new", ini.c_str());
         auto sees = [&ini]() { return ReadWholeFile(ini).find("new") != std::string::npos ? "new" : "old"; };
         std::string seen = std::string(sees()) + ", ";
         api.WritePrivateProfileStringA(0, 0, 0, ini.c_str());
         seen += std::string(sees()) + ", ";
         api.WritePrivateProfileStringA(0, 0, 0, 0);
         return seen + sees();
     },
     "old, old, new"},
    {"Windows 95 keeps one file in its profile cache", "a profile write, once another file is written",
     [](const Api &api) {
         std::string a = std::string(Dir) + "\\A.INI", b = std::string(Dir) + "\\B.INI";
         WriteWholeFile(a, "[s]\r\n");
         api.WritePrivateProfileStringA("s", "k", "one", a.c_str());
         std::string before = ReadWholeFile(a).find("one") != std::string::npos ? "written" : "cached";
         api.WritePrivateProfileStringA("s", "k", "two", b.c_str());
         std::string after = ReadWholeFile(a).find("one") != std::string::npos ? "written" : "cached";
         api.WritePrivateProfileStringA(0, 0, 0, 0);
         return before + ", then " + after;
     },
     "cached, then written"},
    {"kernel32 profile.c: broken(!ret) and no file /* Win9x and WinME */",
     "an empty value written to a file that is not there",
     [](const Api &api) {
         std::string ini = std::string(Dir) + "\\NONE.INI";
         DeleteFileA(ini.c_str());
         BOOL written = api.WritePrivateProfileStringA("s", "k", "", ini.c_str());
         api.WritePrivateProfileStringA(0, 0, 0, 0);
         return std::string(written ? "written" : "refused") +
                (GetFileAttributesA(ini.c_str()) == INVALID_FILE_ATTRIBUTES ? ", no file" : ", a file");
     },
     "refused, no file"},
    {"SetErrorMode: without SEM_FAILCRITICALERRORS the system shows its critical-error box",
     "a file looked for on A: without a disk, before and after SEM_FAILCRITICALERRORS",
     [](const Api &api) {
         SetFloppyNotReady(true);
         TakeWin98Log();
         UINT before = api.SetErrorMode(0);
         auto look = [&api]() {
             SetLastError(0);
             api.GetFileAttributesA("A:\\SETUP.INF");
             DWORD error = GetLastError();
             bool box = TakeWin98Log().find("critical-error box") != std::string::npos;
             return "error " + std::to_string(error) + (box ? " with the box" : "");
         };
         std::string seen = look();
         api.SetErrorMode(SEM_FAILCRITICALERRORS);
         seen += ", " + look();
         api.SetErrorMode(before);
         SetFloppyNotReady(false);
         return seen;
     },
     "error 21 with the box, error 21"},
};

TEST(Win98Answers, EachAnswerIsWindows98sAndDiffersFromWines)
{
    CreateDirectoryA(Win98Rig, 0);
    CreateDirectoryA(Dir, 0);
    SetWin98Bias(0);
    HMODULE w9x = LoadLibraryA("W9X.DLL");
    ASSERT_TRUE(w9x) << "W9X.DLL is not in the prefix's system directory";
    for (const Row &row : Rows) {
        std::string personality = row.run(Functions(GetModuleHandleA("W9X.DLL")));
        std::string wine = row.run(Functions(0));
        EXPECT_EQ(row.win98, personality) << row.what << " (" << row.source << ")";
        if (row.wineAgrees)
            EXPECT_EQ(row.win98, wine) << row.what << ": Wine's own Win9x answer";
        else
            EXPECT_NE(row.win98, wine) << row.what << ": Wine answers so too";
    }
    FreeLibrary(GetModuleHandleA("W9X.DLL"));
    TakeWin98Log();
    RemoveTree(Dir);
}

// The rig's restart carries WININIT.INI out as Windows 95/98's WININIT.EXE: only lines of
// 8.3 names, each within one drive (KB Q129532, Q140570).
TEST(Win98Answers, TheRestartRefusesLongNamesAndRenamesAcrossDrives)
{
    SystemFilesGuard saved;
    std::string ini = WindowsDirectory() + "\\WININIT.INI";
    WriteWholeFile(ini, "[rename]\r\nNUL=C:\\ORVEL\\KXPAGE.DLL\r\nC:\\WINDOWS\\KX.VXD=C:\\ORVEL\\KX1234.TMP\r\n"
                        "NUL=C:\\Program Files\\Orvel\\KXPAGE.DLL\r\nC:\\WINDOWS\\KX.VXD=D:\\ORVEL\\KX.VXD\r\n"
                        "C:\\WINDOWS\\KXMOUSE.INI=C:\\ORVEL\\REPLACED\\WINDOWS\\KXMOUSE.INI\r\n");
    EXPECT_EQ("NUL=C:\\Program Files\\Orvel\\KXPAGE.DLL\nC:\\WINDOWS\\KX.VXD=D:\\ORVEL\\KX.VXD\n",
              TakeLinesWininitCannotDo());
    EXPECT_EQ("", TakeLinesWininitCannotDo()) << "the lines it carries out are kept";
    char kept[512];
    DWORD n = GetPrivateProfileSectionA("rename", kept, sizeof kept, ini.c_str());
    std::string lines;
    for (DWORD i = 0; i < n; i += lstrlenA(kept + i) + 1)
        lines += std::string(kept + i) + "\n";
    EXPECT_EQ("NUL=C:\\ORVEL\\KXPAGE.DLL\nC:\\WINDOWS\\KX.VXD=C:\\ORVEL\\KX1234.TMP\n"
              "C:\\WINDOWS\\KXMOUSE.INI=C:\\ORVEL\\REPLACED\\WINDOWS\\KXMOUSE.INI\n", lines);
}

}  // namespace
