/* Welcome page: names the product; Next or Cancel (its Back button is disabled). */
#include "pages.h"
#include "page_runner.h"
#include "../shared/setup_state.h"
#include "../../resources/resource.h"

LRESULT CALLBACK WelcomePageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        PageFrameCreate(page, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAGE_INIT:
        FormatPageText(page, IDC_INTRO);
        break;
    case WM_COMMAND:
        if (wParam == IDC_NEXT)
            return ClosePage(page, PAGE_NEXT);
        if (wParam == IDC_CANCEL)
            return CancelPage(page);
        break;
    }
    return DefWindowProcA(page, msg, wParam, lParam);
}
