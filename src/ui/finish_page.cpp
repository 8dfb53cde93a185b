/* Finish page: restart now or later. Finish closes it without touching
   LastPageResult; the controller restarts Windows when RebootChoice is 1. */
#include "pages.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../../resources/resource.h"

LRESULT CALLBACK FinishPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        PageFrameCreate(page, 1);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAGE_INIT:
        FormatPageText(page, IDC_HEADLINE);
        CheckDlgButton(page, SetupState.RebootChoice ? IDC_REBOOTNOW : IDC_REBOOTLATER, BST_CHECKED);
        break;
    case WM_COMMAND:
        if (wParam == IDC_NEXT) {
            if (IsDlgButtonChecked(page, IDC_REBOOTLATER))
                SetupState.RebootChoice = 0;
            SendMessageA(page, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
