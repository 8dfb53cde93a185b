/* Mouse-type page: serial or PS/2. The choice is stored at the click, so it
   survives Back and Cancel. */
#include "pages.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../../resources/resource.h"

LRESULT CALLBACK MouseTypePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        PageFrameCreate(page, 0);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAGE_INIT:
        CheckRadioButton(page, IDC_SERIAL, IDC_PS2, SetupState.MouseKind ? IDC_SERIAL : IDC_PS2);
        EnableWindow(GetDlgItem(page, IDC_BACK), SetupState.MouseBackEnabled);
        break;
    case WM_COMMAND:
        switch (wParam) {
        case IDC_NEXT:
            return ClosePage(page, PAGE_NEXT);
        case IDC_CANCEL:
            return CancelPage(page);
        case IDC_BACK:
            return ClosePage(page, PAGE_BACK);
        case IDC_SERIAL:
            SetupState.MouseKind = 1;
            break;
        case IDC_PS2:
            SetupState.MouseKind = 0;
            break;
        }
        break;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
