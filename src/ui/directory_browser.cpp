/* Directory browser: the platform's old-style open-file dialog with our template 104.
   The hook keeps edit field 1003 showing the directory being browsed; a dummy file
   name lets OK end the dialog without a file being chosen. */
#include <direct.h>
#include "pages.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/install_dir.h"
#include "../../resources/resource.h"

static UINT_PTR CALLBACK BrowseHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

#define BROWSE_FLAGS (OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK | \
                      OFN_ENABLETEMPLATE | OFN_NOVALIDATE)
#define IDC_DIRLIST 1121      /* the platform's directory list (lst2) */
#define IDC_DRIVELIST 1137    /* the platform's drive list (cmb2) */

static char DummyFileName[] = "12345678.ABC";

int BrowseForDirectory(HWND owner, const char *start)
{
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;   /* 76: the Windows 95 layout */
    ofn.hwndOwner = owner;
    ofn.hInstance = SetupState.ModuleInstance;
    ofn.lpstrFile = DummyFileName;
    ofn.nMaxFile = sizeof DummyFileName;   /* with its terminating NUL */
    ofn.lpstrInitialDir = "C:\\";
    ofn.Flags = BROWSE_FLAGS;
    ofn.lpfnHook = BrowseHook;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_BROWSE);

    /* OFN_NOCHANGEDIR asks the platform to put the current directory back; not every
       implementation does, so it is put back here too. */
    char cwd[MAX_PATH];
    DWORD kept = GetCurrentDirectoryA(sizeof cwd, cwd);
    CopyText(SetupState.BrowseBuffer, sizeof SetupState.BrowseBuffer, start);
    BOOL ok = GetOpenFileNameA(&ofn);
    if (kept && kept < sizeof cwd)
        SetCurrentDirectoryA(cwd);
    return ok != 0;
}

static UINT_PTR CALLBACK BrowseHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        PostMessageA(dialog, WM_PAGE_INIT, 0, 0);   /* after the dialog has set itself up */
        break;
    case WM_PAGE_INIT:
        SetDlgItemTextA(dialog, IDC_DIRTEXT, SetupState.BrowseBuffer);
        SetFocus(GetDlgItem(dialog, IDC_DIRTEXT));
        SendDlgItemMessageA(dialog, IDC_DIRTEXT, EM_SETSEL, 0, -65536);
        break;
    case WM_COMMAND: {
        WORD id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDOK)
            GetDlgItemTextA(dialog, IDC_DIRTEXT, SetupState.BrowseBuffer, DESTINATION_LENGTH + 1);
        else if ((id == IDC_DIRLIST && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) ||
                 (id == IDC_DRIVELIST && code == CBN_SELCHANGE))
            PostMessageA(dialog, WM_BROWSE_SYNC, 0, 0);   /* after the dialog changed directory */
        break;
    }
    case WM_BROWSE_SYNC:
        _getcwd(SetupState.BrowseBuffer, sizeof SetupState.BrowseBuffer);
        SetDlgItemTextA(dialog, IDC_DIRTEXT, SetupState.BrowseBuffer);
        break;
    }
    return 0;
}
