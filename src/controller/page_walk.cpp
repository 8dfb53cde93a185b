/* The page walk of the full wizard. Pages are re-created from scratch on every visit;
   they show what SetupState holds. */
#include "page_walk.h"
#include "../shared/setup_state.h"
#include "../shared/mouse_app.h"
#include "../ui/page_runner.h"
#include "../ui/pages.h"
#include "../ui/copy_page.h"
#include "../install/system_patch.h"
#include "../../resources/resource.h"

int NextWizardPage(int page, short result)
{
    if (result == PAGE_CANCEL)
        return WIZARD_END;
    switch (page) {
    case WIZARD_WELCOME:
        return WIZARD_MOUSETYPE;        /* its Back button is disabled */
    case WIZARD_MOUSETYPE:
        return result == PAGE_BACK ? WIZARD_WELCOME : WIZARD_DESTINATION;
    case WIZARD_DESTINATION:
        return result == PAGE_BACK ? WIZARD_MOUSETYPE : WIZARD_COPY;
    case WIZARD_COPY:
        return WIZARD_FINISH;           /* it has no Back button */
    }
    return WIZARD_END;
}

static short ShowWizardPage(int page)
{
    switch (page) {
    case WIZARD_WELCOME:
        return RunPage("SETUP_BEGIN", WelcomePageProc, IDD_WELCOME);
    case WIZARD_MOUSETYPE:
        return RunPage("SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSETYPE);
    case WIZARD_DESTINATION:
        return RunPage("SETUP_SELDIR", DestinationPageProc, IDD_DESTINATION);
    case WIZARD_COPY:
        return RunPage("SETUP_INSTALL", CopyPageProc, IDD_COPY);
    }
    return RunPage("SETUP_END", FinishPageProc, IDD_FINISH);
}

int WalkWizardPages(void)
{
    int page = WIZARD_WELCOME;
    while (page != WIZARD_FINISH) {
        int next = NextWizardPage(page, ShowWizardPage(page));
        if (next == WIZARD_END)
            return 0;
        if (next == WIZARD_COPY)
            CloseMouseApp();            /* right before the copy begins */
        if (page == WIZARD_COPY && !PatchSystemIni()) {
            /* only after a copy that was not cancelled; a patch that failed ends the
               run as a Cancel does */
            TellFailure(SetupState.BackdropWindow);
            ShowAbortNotice(SetupState.BackdropWindow);
            return 0;
        }
        page = next;
    }
    ShowWizardPage(WIZARD_FINISH);      /* its result is not looked at */
    return 1;
}
