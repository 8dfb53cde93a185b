/* Destination page: shows InstallDir, lets the user browse, and at Next checks the
   path's form, an existing directory, the free space, then creates the directory. */
#include "pages.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../shared/failure_note.h"
#include "../shared/install_dir.h"
#include "../shared/bounded_text.h"
#include "../../resources/resource.h"

/* What the checks noted, in a box owned by the page, which then stays open. */
static void ShowDestinationMessage(HWND page)
{
    char text[FAILURE_MESSAGE_SIZE];
    FailureMessage(text);
    ForgetFailures();
    MessageBoxA(page, text, SetupState.Caption, MB_OK | MB_ICONEXCLAMATION);
}

static const DestinationChecks *Checks;

void UseDestinationChecks(const DestinationChecks *checks)
{
    Checks = checks;
}

/* The browser opens on the field's text; its OK is taken as the field's text would be,
   and the field shows what was taken. A text refused here is told at Next, which
   takes the field again: the note is not wanted twice. */
static void BrowseDestination(HWND page)
{
    char typed[DESTINATION_LENGTH + 1];
    GetDlgItemTextA(page, IDC_DIRTEXT, typed, sizeof typed);
    if (!BrowseForDirectory(page, typed))
        return;
    const char *browsed = SetupState.BrowseBuffer;
    if (!Checks->take(browsed, TextLength(browsed)))
        ForgetFailures();
    SetDlgItemTextA(page, IDC_DIRTEXT, SetupState.InstallDir);
}

static void AcceptDestination(HWND page)
{
    char typed[DESTINATION_LENGTH + 1];
    const char *dir = SetupState.InstallDir;
    SetupState.LastPageResult = PAGE_NEXT;
    GetDlgItemTextA(page, IDC_DIRTEXT, typed, sizeof typed);
    if (!Checks->take(typed, GetWindowTextLengthA(GetDlgItem(page, IDC_DIRTEXT)))) {
        ShowDestinationMessage(page);
        return;
    }
    int existed = Checks->exists(dir);
    if (existed && MessageBoxA(page, ResourceText(IDS_DIREXISTS), SetupState.Caption,
                               MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    if (!Checks->prepare(dir, existed)) {
        ShowDestinationMessage(page);
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
        /* the destination taken last, or the one offered while none is */
        SetDlgItemTextA(page, IDC_DIRTEXT,
                        SetupState.InstallDir[0] ? SetupState.InstallDir : SetupState.OfferedDir);
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
            BrowseDestination(page);
            break;
        }
        break;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
