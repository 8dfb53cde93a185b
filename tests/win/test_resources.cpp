// Resources of SETUP.EXE as the program finds them in its own module: the
// dialog templates read back from their raw DLGTEMPLATEEX, the string table,
// the bitmaps and the icons.
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>
#include "resource.h"

namespace {

// ---------------------------------------------------------------------------
// A reader for DLGTEMPLATEEX resources.

struct ParsedControl {
    DWORD helpId, exStyle, style;
    short x, y, cx, cy;
    int id;
    std::string cls;      // class name; predefined ordinals mapped to names
    std::string text;     // text, when not an ordinal
    int textOrd;          // resource ordinal of the text, or -1
    WORD extraBytes;
};

struct ParsedTemplate {
    DWORD helpId, exStyle, style;
    short x, y, cx, cy;
    int menuOrd;
    std::string menu, cls, title;
    WORD pointSize, weight;
    BYTE italic, charset;
    std::string face;
    std::vector<ParsedControl> controls;
};

class Reader {
public:
    Reader(const BYTE* base, DWORD size) : base_(base), p_(base), end_(base + size) {}
    bool ok() const { return ok_; }
    WORD Word() { return static_cast<WORD>(Take(2)); }
    DWORD Dword() { return Take(4); }
    BYTE Byte() { return static_cast<BYTE>(Take(1)); }
    short Short() { return static_cast<short>(Word()); }
    std::string String() {
        std::string s;
        for (;;) {
            WORD c = Word();
            if (!ok_ || c == 0) return s;
            s += c < 0x80 ? static_cast<char>(c) : '?';
        }
    }
    // sz_Or_Ord: 0xFFFF and an ordinal, or a string. Returns the ordinal or -1.
    int StringOrOrdinal(std::string* s) {
        s->clear();
        if (p_ + 2 <= end_ && p_[0] == 0xFF && p_[1] == 0xFF) {
            Word();
            return Word();
        }
        *s = String();
        return -1;
    }
    void AlignDword() {
        while (((p_ - base_) & 3) != 0) p_++;
    }
    void Skip(size_t n) {
        if (static_cast<size_t>(end_ - p_) < n) ok_ = false; else p_ += n;
    }

private:
    DWORD Take(int n) {
        if (end_ - p_ < n) { ok_ = false; return 0; }
        DWORD v = 0;
        for (int i = 0; i < n; i++) v |= static_cast<DWORD>(p_[i]) << (8 * i);
        p_ += n;
        return v;
    }
    const BYTE* base_;
    const BYTE* p_;
    const BYTE* end_;
    bool ok_ = true;
};

std::string ClassName(int ord, const std::string& name) {
    switch (ord) {
    case -1: return name;
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "#" + std::to_string(ord);
    }
}

void ParseTemplate(WORD id, ParsedTemplate* t) {
    HMODULE self = GetModuleHandleA(NULL);
    HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(id), RT_DIALOG);
    ASSERT_TRUE(res != NULL) << "template " << id << " missing";
    HGLOBAL mem = LoadResource(self, res);
    ASSERT_TRUE(mem != NULL);
    const BYTE* base = static_cast<const BYTE*>(LockResource(mem));
    ASSERT_TRUE(base != NULL);
    Reader r(base, SizeofResource(self, res));

    ASSERT_EQ(1, r.Word()) << "dlgVer: not a DLGTEMPLATEEX";
    ASSERT_EQ(0xFFFF, r.Word()) << "signature";
    t->helpId = r.Dword();
    t->exStyle = r.Dword();
    t->style = r.Dword();
    WORD count = r.Word();
    t->x = r.Short(); t->y = r.Short(); t->cx = r.Short(); t->cy = r.Short();
    t->menuOrd = r.StringOrOrdinal(&t->menu);
    std::string clsName;
    int clsOrd = r.StringOrOrdinal(&clsName);
    t->cls = clsOrd == -1 ? clsName : "#" + std::to_string(clsOrd);
    t->title = r.String();
    t->pointSize = t->weight = 0;
    t->italic = t->charset = 0;
    if (t->style & DS_SETFONT) {
        t->pointSize = r.Word();
        t->weight = r.Word();
        t->italic = r.Byte();
        t->charset = r.Byte();
        t->face = r.String();
    }
    for (WORD i = 0; i < count; i++) {
        ParsedControl c;
        r.AlignDword();
        c.helpId = r.Dword();
        c.exStyle = r.Dword();
        c.style = r.Dword();
        c.x = r.Short(); c.y = r.Short(); c.cx = r.Short(); c.cy = r.Short();
        c.id = static_cast<int>(r.Dword());
        std::string name;
        int ord = r.StringOrOrdinal(&name);
        c.cls = ClassName(ord, name);
        c.textOrd = r.StringOrOrdinal(&c.text);
        c.extraBytes = r.Word();
        r.Skip(c.extraBytes);
        t->controls.push_back(c);
    }
    ASSERT_TRUE(r.ok()) << "template " << id << " is truncated";
}

// ---------------------------------------------------------------------------
// Expected templates.

struct Ctl {
    int id;
    const char* cls;
    const char* text;   // NULL: the text is the resource ordinal `ord`
    WORD ord;
    short x, y, cx, cy;
    DWORD style;        // complete style, WS_CHILD included
    DWORD exStyle;
};

struct Frame {
    WORD id;
    DWORD style;
    short x, y, cx, cy;
    const char* cls;    // "" for the platform's dialog class
    const char* title;
    const Ctl* controls;
    size_t count;
};

const DWORD CV = WS_CHILD | WS_VISIBLE;
const DWORD PAGE = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;

#define PAGE_FRAME_LINE \
    {IDC_FRAMELINE, "Static", "", 0, 5, 155, 264, 1, CV | SS_BLACKFRAME, WS_EX_STATICEDGE}
#define PAGE_PICTURE \
    {IDC_PICTURE, "Static", NULL, IDB_PAGEPICTURE, 6, 10, 80, 136, \
     CV | SS_BITMAP | WS_DISABLED, WS_EX_STATICEDGE}

const Ctl kWelcome[] = {
    {1, "Button", "&Next >", 0, 173, 162, 43, 14, CV | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {2, "Button", "Cancel", 0, 225, 162, 43, 14, CV | BS_PUSHBUTTON | WS_TABSTOP, 0},
    {3, "Button", "< &Back", 0, 130, 162, 43, 14,
     CV | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_DISABLED, 0},
    {-1, "Static", NULL, IDI_SETUP, 96, 10, 18, 20, CV | SS_ICON, 0},
    {1023, "Static", " Welcome to the Setup Program.", 0, 123, 10, 145, 8, CV | SS_LEFT, 0},
    {1024, "Static", "This program will install %s into your computer.", 0, 124, 19, 145, 16,
     CV | SS_LEFT, 0},
    {-1, "Static", "It is strongly recommended that you exit all Windows ", 0, 96, 46, 172, 8,
     CV | SS_LEFT, 0},
    {-1, "Static", "programs before running this Setup program.", 0, 96, 56, 170, 8, CV | SS_LEFT, 0},
    {-1, "Static", "Click Cancel to quit Setup and then close any", 0, 96, 76, 170, 8, CV | SS_LEFT, 0},
    {-1, "Static", "programs you have running.", 0, 96, 86, 170, 8, CV | SS_LEFT, 0},
    {-1, "Static", "Click Next to continue with the Setup program.", 0, 96, 102, 170, 8,
     CV | SS_LEFT, 0},
    {-1, "Static", "This program is protected by copyright law and", 0, 96, 125, 172, 8,
     CV | SS_LEFT, 0},
    {-1, "Static", "may not be copied without the maker's permission.", 0, 96, 135, 170, 8,
     CV | SS_LEFT, 0},
    PAGE_FRAME_LINE,
    PAGE_PICTURE,
};

const Ctl kMouseType[] = {
    {1, "Button", "&Next >", 0, 173, 162, 43, 14, CV | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {2, "Button", "Cancel", 0, 225, 162, 43, 14, CV | BS_PUSHBUTTON | WS_TABSTOP, 0},
    {3, "Button", "< &Back", 0, 130, 162, 43, 14, CV | BS_PUSHBUTTON | WS_TABSTOP, 0},
    {-1, "Static", "Please select the correct mouse type :", 0, 96, 13, 170, 8, CV | SS_LEFT, 0},
    {1034, "Button", "Serial Mouse", 0, 96, 40, 60, 10, CV | BS_AUTORADIOBUTTON | WS_TABSTOP, 0},
    {1035, "Button", "PS/2 Mouse", 0, 96, 94, 60, 10, CV | BS_AUTORADIOBUTTON | WS_TABSTOP, 0},
    {-1, "Static", NULL, IDB_SERIALMOUSE, 190, 31, 47, 31, CV | SS_BITMAP, 0},
    {-1, "Static", NULL, IDB_PS2MOUSE, 190, 85, 47, 31, CV | SS_BITMAP, 0},
    PAGE_FRAME_LINE,
    PAGE_PICTURE,
};

const Ctl kDestination[] = {
    {1, "Button", "&Next >", 0, 173, 162, 43, 14, CV | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {2, "Button", "Cancel", 0, 225, 162, 43, 14, CV | BS_PUSHBUTTON | WS_TABSTOP, 0},
    {3, "Button", "< &Back", 0, 130, 162, 43, 14, CV | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {-1, "Static", "Please select the directory where the", 0, 96, 13, 170, 8, CV | SS_LEFT, 0},
    {1023, "Static", "%s files are to be installed :", 0, 96, 23, 170, 20, CV | SS_LEFT, 0},
    {-1, "Button", "Destination Directory", 0, 96, 117, 172, 29, CV | BS_GROUPBOX, 0},
    {1003, "Static", "", 0, 102, 131, 120, 8, CV | SS_LEFT, 0},
    {1025, "Button", "B&rowse...", 0, 224, 127, 38, 14, CV | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    PAGE_FRAME_LINE,
    PAGE_PICTURE,
};

const Ctl kFinish[] = {
    {1, "Button", "Finish", 0, 225, 163, 43, 14, CV | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {1023, "Static", "You have installed %s Successfully !", 0, 96, 13, 175, 16, CV | SS_LEFT, 0},
    {-1, "Static", "You must restart your computer before using it !", 0, 96, 35, 164, 8,
     CV | SS_LEFT, 0},
    {1032, "Button", "Yes, I want to restart my computer now.", 0, 98, 72, 158, 10,
     CV | BS_AUTORADIOBUTTON, 0},
    {1033, "Button", "No, I will restart my computer later.", 0, 98, 86, 158, 10,
     CV | BS_AUTORADIOBUTTON, 0},
    {-1, "Static", "Click the Finish button to complete installation.", 0, 98, 117, 169, 8,
     CV | SS_LEFT, 0},
    PAGE_FRAME_LINE,
    PAGE_PICTURE,
};

const Ctl kCopy[] = {
    {1, "Button", "Cancel", 0, 225, 162, 43, 14, CV | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
    {1019, "Static", "", 0, 96, 32, 173, 24, CV | SS_LEFT | WS_GROUP, 0},
    {1009, "Static", "", 0, 90, 125, 48, 16, WS_CHILD | SS_BLACKFRAME, 0},
    {1010, "Static", "", 0, 146, 125, 48, 16, WS_CHILD | SS_BLACKFRAME, 0},
    {1011, "Static", "", 0, 96, 69, 141, 12, WS_CHILD | SS_BLACKFRAME, 0},
    {1012, "Static", "", 0, 100, 127, 110, 12, WS_CHILD | SS_BLACKFRAME, 0},
    {1013, "Static", "0%", 0, 249, 71, 20, 8, CV | SS_LEFT | WS_GROUP, 0},
    {1014, "Static", "0%", 0, 222, 129, 20, 8, WS_CHILD | SS_LEFT | WS_GROUP, 0},
    {1015, "Static", NULL, IDI_DISK, 115, 122, 18, 20, WS_CHILD | SS_ICON, 0},
    {1016, "Static", NULL, IDI_DISK, 141, 122, 18, 20, WS_CHILD | SS_ICON, 0},
    {1017, "Static", NULL, IDI_DISK, 167, 122, 18, 20, WS_CHILD | SS_ICON, 0},
    {1018, "Static", NULL, IDI_DISKDONE, 193, 122, 18, 20, WS_CHILD | SS_ICON, 0},
    PAGE_FRAME_LINE,
    PAGE_PICTURE,
};

const Ctl kBrowse[] = {
    {1, "Button", "OK", 0, 108, 46, 52, 14, CV | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {2, "Button", "Cancel", 0, 108, 66, 52, 14, CV | WS_TABSTOP, 0},
    {-1, "Static", "Destination Directory :", 0, 8, 6, 92, 8, CV | WS_GROUP | SS_LEFT, 0},
    {1003, "Edit", "", 0, 8, 19, 152, 12, CV | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {-1, "Static", "", 0, 6, 38, 155, 1, CV | SS_BLACKFRAME, WS_EX_STATICEDGE},
    {-1, "Static", "&Directories:", 0, 8, 45, 92, 9, CV | WS_GROUP | SS_LEFT, 0},
    {1088, "Static", "", 0, 8, 55, 92, 9, CV | WS_GROUP | SS_NOPREFIX, 0},
    {1121, "ListBox", "", 0, 8, 70, 92, 68,
     CV | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_OWNERDRAWFIXED |
         LBS_HASSTRINGS | LBS_DISABLENOSCROLL, 0},
    {1091, "Static", "Dri&ves:", 0, 8, 142, 92, 9, CV | WS_GROUP | SS_LEFT, 0},
    {1137, "ComboBox", "", 0, 8, 152, 92, 68,
     CV | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
         CBS_AUTOHSCROLL | CBS_SORT | CBS_HASSTRINGS, 0},
    {1152, "Edit", "", 0, 208, 38, 26, 12,
     WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_OEMCONVERT, 0},
    {1090, "Static", "File &Name:", 0, 178, 38, 39, 10, CV | WS_GROUP | SS_LEFT, 0},
    {1120, "ListBox", "", 0, 220, 30, 36, 9,
     WS_CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT |
         LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL | LBS_DISABLENOSCROLL, 0},
    {1136, "ComboBox", "", 0, 209, 50, 30, 36,
     WS_CHILD | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL, 0},
    {1089, "Static", "List Files of &Type:", 0, 181, 12, 62, 9, WS_CHILD | WS_GROUP | SS_LEFT, 0},
    {1092, "Static", "List Files of &Type:", 0, 204, 22, 47, 9, WS_CHILD | WS_GROUP | SS_LEFT, 0},
    {1040, "Button", "&Read Only", 0, 188, 34, 33, 12, WS_CHILD | BS_CHECKBOX, 0},
};

#define FRAME_OF(id, style, x, y, cx, cy, cls, title, table) \
    {id, style, x, y, cx, cy, cls, title, table, sizeof(table) / sizeof(table[0])}

void CheckTemplate(const Frame& f) {
    ParsedTemplate t;
    ASSERT_NO_FATAL_FAILURE(ParseTemplate(f.id, &t));

    EXPECT_EQ(f.style, t.style) << std::hex << "template style";
    EXPECT_EQ(0u, t.exStyle);
    EXPECT_EQ(f.x, t.x);
    EXPECT_EQ(f.y, t.y);
    EXPECT_EQ(f.cx, t.cx);
    EXPECT_EQ(f.cy, t.cy);
    EXPECT_TRUE(t.menuOrd == -1 && t.menu.empty()) << "no menu";
    EXPECT_EQ(std::string(f.cls), t.cls);
    EXPECT_EQ(std::string(f.title), t.title);
    EXPECT_EQ(8, t.pointSize);
    EXPECT_EQ(0, t.weight) << "default weight";
    EXPECT_EQ(0, t.italic);
    EXPECT_EQ(DEFAULT_CHARSET, t.charset);
    EXPECT_EQ("Arial", t.face);

    ASSERT_EQ(f.count, t.controls.size()) << "number of controls";
    for (size_t i = 0; i < f.count; i++) {
        const Ctl& e = f.controls[i];
        const ParsedControl& c = t.controls[i];
        SCOPED_TRACE("control #" + std::to_string(i) + ", id " + std::to_string(e.id));
        EXPECT_EQ(e.id, c.id);
        EXPECT_EQ(0, lstrcmpiA(e.cls, c.cls.c_str())) << "class " << c.cls;
        if (e.text) {
            EXPECT_EQ(-1, c.textOrd) << "text is an ordinal";
            EXPECT_EQ(std::string(e.text), c.text);
        } else {
            EXPECT_EQ(e.ord, c.textOrd) << "image resource";
        }
        EXPECT_EQ(e.x, c.x);
        EXPECT_EQ(e.y, c.y);
        EXPECT_EQ(e.cx, c.cx);
        EXPECT_EQ(e.cy, c.cy);
        EXPECT_EQ(e.style, c.style) << std::hex << "style, differing bits " << (e.style ^ c.style);
        EXPECT_EQ(e.exStyle, c.exStyle) << std::hex << "extended style";
        EXPECT_EQ(0u, c.helpId);
        EXPECT_EQ(0, c.extraBytes);
    }
}

TEST(Resources, WelcomeTemplate101) {
    CheckTemplate(FRAME_OF(IDD_WELCOME, PAGE, 0, 0, 280, 183, "SETUP_BEGIN", "Setup", kWelcome));
}

TEST(Resources, MouseTypeTemplate108) {
    CheckTemplate(FRAME_OF(IDD_MOUSETYPE, PAGE, 0, 0, 280, 183, "SETUP_SELMOUSE", "Setup",
                           kMouseType));
}

TEST(Resources, DestinationTemplate107) {
    CheckTemplate(FRAME_OF(IDD_DESTINATION, PAGE, 0, 0, 280, 183, "SETUP_SELDIR", "Setup",
                           kDestination));
}

TEST(Resources, FinishTemplate102) {
    CheckTemplate(FRAME_OF(IDD_FINISH, PAGE, 0, 0, 280, 183, "SETUP_END", "Setup", kFinish));
}

TEST(Resources, CopyTemplate103) {
    CheckTemplate(FRAME_OF(IDD_COPY, PAGE, 0, 0, 280, 183, "SETUP_INSTALL", "Setup", kCopy));
}

TEST(Resources, BrowseTemplate104) {
    CheckTemplate(FRAME_OF(IDD_BROWSE,
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                           30, 30, 169, 170, "", "Browse Directory", kBrowse));
}

// Every page template builds a window of its own class, and the images its
// static controls name are found and shown.
TEST(Resources, PageTemplatesCreateWindowsWithTheirImages) {
    HINSTANCE self = GetModuleHandleA(NULL);
    const struct { WORD id; const char* cls; } pages[] = {
        {IDD_WELCOME, "SETUP_BEGIN"}, {IDD_MOUSETYPE, "SETUP_SELMOUSE"},
        {IDD_DESTINATION, "SETUP_SELDIR"}, {IDD_COPY, "SETUP_INSTALL"}, {IDD_FINISH, "SETUP_END"},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.cls);
        WNDCLASSA wc;
        memset(&wc, 0, sizeof wc);
        wc.lpfnWndProc = DefWindowProcA;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = self;
        wc.lpszClassName = page.cls;
        // A page shown earlier in this process keeps its own class; the
        // template is then built with that one.
        bool own = RegisterClassA(&wc) != 0;
        if (!own) {
            EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS), GetLastError());
        }
        HWND w = CreateDialogParamA(self, MAKEINTRESOURCEA(page.id), NULL, NULL, 0);
        EXPECT_TRUE(w != NULL);
        if (w) {
            if (own) {
                char title[64];
                GetWindowTextA(w, title, sizeof title);
                EXPECT_STREQ("Setup", title);
            }
            EXPECT_TRUE(SendDlgItemMessageA(w, IDC_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0)
                << "bitmap 304 not shown";
            EXPECT_TRUE(IsWindow(GetDlgItem(w, IDC_FRAMELINE)));
            if (page.id == IDD_COPY) {
                for (int id = IDC_DISKICON1; id <= IDC_DISKICON4; id++)
                    EXPECT_TRUE(SendDlgItemMessageA(w, id, STM_GETICON, 0, 0) != 0) << id;
            }
            // Controls with id -1 are found by walking the children.
            int bitmaps = 0, icons = 0;
            for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                if (GetDlgCtrlID(c) != -1 && GetDlgCtrlID(c) != 0xFFFF) continue;
                if (SendMessageA(c, STM_GETIMAGE, IMAGE_BITMAP, 0)) bitmaps++;
                if (SendMessageA(c, STM_GETICON, 0, 0)) icons++;
            }
            if (page.id == IDD_MOUSETYPE) {
                EXPECT_EQ(2, bitmaps) << "bitmaps 113 and 112";
            }
            if (page.id == IDD_WELCOME) {
                EXPECT_EQ(1, icons) << "icon 200";
            }
            DestroyWindow(w);
        }
        if (own) {
            EXPECT_TRUE(UnregisterClassA(page.cls, self));
        }
    }
}

// ---------------------------------------------------------------------------
// String table

struct Text {
    UINT id;
    const char* text;
};

const Text kTexts[] = {
    {1, "DiskLabel"}, {2, "DirectoryName"}, {3, "FileCounts"},
    {4, "Disk1"}, {5, "Disk2"}, {6, "Disk3"}, {7, "Disk4"}, {8, "Disk5"}, {9, "Disk6"},
    {10, "RootDir"}, {11, "SubDir1"}, {12, "SubDir2"}, {13, "SubDir3"}, {14, "SubDir4"},
    {15, "SubDir5"}, {16, "SubDir6"}, {17, "WinDir"}, {18, "WinSystemDir"}, {19, "WinInfDir"},
    {20, "SETUP.INF Reading error !"},
    {21, ""},
    {22, "Main"}, {23, "DefaultPath"}, {24, "DefaultINI"}, {25, "MinimumSpace"},
    {26, "GroupName"}, {27, "GroupTitle"},
    {28, " installation is not completed !"},
    {29, "Setup Program"}, {30, "ProductName"},
    {31, ""},
    {32, "The specified directory already exists !\nDo you still want to install into this "
         "directory ?"},
    {33, "Can not create directory !\nThe specified directory is either invalid or disk drive "
         "is write protected."},
    {34, "There is no enough free space in the specified disk drive !"},
    {35, "Please insert '%s' into your disk drive !"},
    {36, "Copying "}, {37, "Reading ..."}, {38, "Writing ..."},
    {39, "Failed to create a new group !"},
    {40, "PM Info"}, {41, "Startup"}, {42, "FileName"}, {43, "Title"},
    {44, "This  Mouse Setup Program is for Windows 95/98 only !"},
    {45, "Mfg"}, {46, "MouseDriver"}, {47, "MouseInf"}, {48, "DriverDate"},
    {49, "PS2InfSection"}, {50, "SerialInfSection"}, {51, "PS2Name"}, {52, "SeialName"},
    {53, "The Mouse Setup Program has installed driver successfully. You have to restart your "
         "Windows now !"},
    {54, "Setup have detected another mouse program in your system.\nPlease remove it from "
         "your system first !"},
};

TEST(Resources, StringTable) {
    HINSTANCE self = GetModuleHandleA(NULL);
    ASSERT_EQ(54u, sizeof(kTexts) / sizeof(kTexts[0]));
    for (const Text& t : kTexts) {
        SCOPED_TRACE("text " + std::to_string(t.id));
        char buf[256];
        memset(buf, 'x', sizeof buf);
        int n = LoadStringA(self, t.id, buf, sizeof buf);
        EXPECT_EQ(static_cast<int>(strlen(t.text)), n);
        if (n > 0) {
            EXPECT_STREQ(t.text, buf);
        }
    }
    // Nothing beyond the last id.
    char buf[16];
    EXPECT_EQ(0, LoadStringA(self, 55, buf, sizeof buf));
    EXPECT_EQ(0, LoadStringA(self, 0, buf, sizeof buf));

    // "\n" in the source is one line feed, not a backslash and an n.
    char text[256];
    LoadStringA(self, IDS_OTHERMOUSE, text, sizeof text);
    EXPECT_TRUE(strchr(text, '\\') == NULL);
    EXPECT_TRUE(strchr(text, '\n') != NULL);

    // Ids 1..54 lie in the string blocks 1..4, stored under language 1028 only.
    const WORD zhTW = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);
    ASSERT_EQ(1028, zhTW);
    for (int block = 1; block <= 4; block++) {
        SCOPED_TRACE("block " + std::to_string(block));
        EXPECT_TRUE(FindResourceExA(self, RT_STRING, MAKEINTRESOURCEA(block), zhTW) != NULL);
        EXPECT_TRUE(FindResourceExA(self, RT_STRING, MAKEINTRESOURCEA(block),
                                    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) == NULL);
    }
}

// ---------------------------------------------------------------------------
// Bitmaps and icons

const BITMAPINFOHEADER* BitmapHeader(HINSTANCE self, WORD id, DWORD* size) {
    HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (!res) return NULL;
    *size = SizeofResource(self, res);
    return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(self, res)));
}

// Colour of the top-left pixel read from the resource's own bits.
COLORREF TopLeftOfResource(const BITMAPINFOHEADER* bi) {
    const RGBQUAD* pal = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(bi) +
                                                          bi->biSize);
    DWORD colours = bi->biClrUsed ? bi->biClrUsed : (1u << bi->biBitCount);
    const BYTE* bits = reinterpret_cast<const BYTE*>(pal + colours);
    DWORD stride = ((bi->biWidth * bi->biBitCount + 31) / 32) * 4;
    const BYTE* top = bits + stride * (bi->biHeight - 1);   // bottom-up rows
    int index = bi->biBitCount == 4 ? top[0] >> 4 : top[0];
    return RGB(pal[index].rgbRed, pal[index].rgbGreen, pal[index].rgbBlue);
}

TEST(Resources, BitmapsAndIcons) {
    HINSTANCE self = GetModuleHandleA(NULL);
    const struct { WORD id; LONG width, height; WORD bits; bool magenta; } bitmaps[] = {
        {IDB_PS2MOUSE, 70, 55, 8, false},
        {IDB_SERIALMOUSE, 70, 55, 8, false},
        {IDB_PAGEPICTURE, 118, 234, 4, false},
        {IDB_TITLEBANNER, 400, 50, 4, true},
        {IDB_CREDITLINE, 490, 43, 4, true},
    };
    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    for (const auto& b : bitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(b.id));
        DWORD size = 0;
        const BITMAPINFOHEADER* bi = BitmapHeader(self, b.id, &size);
        ASSERT_TRUE(bi != NULL);
        EXPECT_EQ(sizeof(BITMAPINFOHEADER), bi->biSize);
        EXPECT_EQ(b.width, bi->biWidth);
        EXPECT_EQ(b.height, bi->biHeight) << "bottom-up, positive height";
        EXPECT_EQ(1, bi->biPlanes);
        EXPECT_EQ(b.bits, bi->biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), bi->biCompression);
        DWORD colours = bi->biClrUsed ? bi->biClrUsed : (1u << bi->biBitCount);
        DWORD stride = ((b.width * b.bits + 31) / 32) * 4;
        EXPECT_EQ(bi->biSize + colours * sizeof(RGBQUAD) + stride * b.height, size);

        HBITMAP h = LoadBitmapA(self, MAKEINTRESOURCEA(b.id));
        ASSERT_TRUE(h != NULL);
        BITMAP bm;
        ASSERT_EQ(static_cast<int>(sizeof bm), GetObjectA(h, sizeof bm, &bm));
        EXPECT_EQ(b.width, bm.bmWidth);
        EXPECT_EQ(b.height, bm.bmHeight);
        if (b.magenta) {
            EXPECT_EQ(RGB(255, 0, 255), TopLeftOfResource(bi));
            HGDIOBJ old = SelectObject(mem, h);
            EXPECT_EQ(RGB(255, 0, 255), GetPixel(mem, 0, 0)) << "as loaded";
            SelectObject(mem, old);
        }
        DeleteObject(h);
    }
    DeleteDC(mem);
    ReleaseDC(NULL, screen);

    for (WORD id : {IDI_SETUP, IDI_DISK, IDI_DISKDONE}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        EXPECT_TRUE(LoadIconA(self, MAKEINTRESOURCEA(id)) != NULL);
        // The group holds one classic 32x32 image of 16 colours with its mask.
        HRSRC group = FindResourceA(self, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        ASSERT_TRUE(group != NULL);
        const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
        ASSERT_EQ(1, reinterpret_cast<const WORD*>(dir)[2]) << "images in the group";
        int image = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(dir), TRUE, 32, 32, 0);
        ASSERT_NE(0, image);
        HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(image), RT_ICON);
        ASSERT_TRUE(res != NULL);
        const BITMAPINFOHEADER* bi =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(self, res)));
        EXPECT_EQ(32, bi->biWidth);
        EXPECT_EQ(64, bi->biHeight) << "colour bits and AND mask";
        EXPECT_EQ(4, bi->biBitCount);
        EXPECT_EQ(sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD) + 32 * 16 + 32 * 4,
                  SizeofResource(self, res));
    }
}

}  // namespace
