/* Destination page: shows InstallDir, lets the user browse, and at Next checks the
   path's form, an existing directory, the free space, then creates the directory. */
#include "pages.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../install/destination.h"
#include "../../resources/resource.h"

static void ShowDestinationMessage(HWND page, UINT textId)
{
    MessageBoxA(page, ResourceText(textId), SetupState.Caption, MB_OK | MB_ICONEXCLAMATION);
}

static void AcceptDestination(HWND page)
{
    char *dir = SetupState.InstallDir;
    SetupState.LastPageResult = PAGE_NEXT;
    GetDlgItemTextA(page, IDC_DIRTEXT, dir, DESTINATION_LENGTH + 1);
    UINT fault = DestinationFormFault(dir, GetWindowTextLengthA(GetDlgItem(page, IDC_DIRTEXT)));
    if (fault) {
        ShowDestinationMessage(page, fault);
        return;
    }
    int existed = IsExistingDirectory(dir);
    if (existed && MessageBoxA(page, ResourceText(IDS_DIREXISTS), SetupState.Caption,
                               MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    fault = PrepareDestination(dir, existed);
    if (fault) {
        ShowDestinationMessage(page, fault);
        return;
    }
    SendMessageA(page, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK DestinationPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        PageFrameCreate(page, 0);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAGE_INIT:
        FormatPageText(page, IDC_HEADLINE);
        SetDlgItemTextA(page, IDC_DIRTEXT, SetupState.InstallDir);
        break;
    case WM_COMMAND:
        switch (wParam) {
        case IDC_NEXT:
            AcceptDestination(page);
            return 0;
        case IDC_CANCEL:
            return CancelPage(page);
        case IDC_BACK:
            return ClosePage(page, PAGE_BACK);
        case IDC_BROWSE:
            BrowseForDirectory(page);
            SetDlgItemTextA(page, IDC_DIRTEXT, SetupState.InstallDir);
            break;
        }
        break;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
