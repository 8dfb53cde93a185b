/* The page walk of the full wizard. Pages are re-created from scratch on every visit;
   they show what SetupState holds. */
#include "page_walk.h"
#include "../shared/setup_state.h"
#include "../shared/mouse_app.h"
#include "../ui/page_runner.h"
#include "../ui/pages.h"
#include "../ui/copy_page.h"
#include "../install/system_patch.h"
#include "../shared/failure_note.h"
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

/* The wizard's one teller of a run that ends in the copy or the patch after it: what
   failed, when something did, then the abort notice, as after a Cancel. The page is
   gone by then: the backdrop owns both. */
static void TellRunEnded(void)
{
    if (FailureCount())
        TellFailure(SetupState.BackdropWindow);
    ShowAbortNotice(SetupState.BackdropWindow);
}

short RunCopyPage(void)
{
    short result = ShowWizardPage(WIZARD_COPY);
    if (result == PAGE_CANCEL)
        TellRunEnded();
    return result;
}

int WalkWizardPages(void)
{
    int page = WIZARD_WELCOME;
    while (page != WIZARD_FINISH) {
        int next = NextWizardPage(page, page == WIZARD_COPY ? RunCopyPage() : ShowWizardPage(page));
        if (next == WIZARD_END)
            return 0;
        if (next == WIZARD_COPY)
            CloseMouseApp();            /* right before the copy begins */
        if (page == WIZARD_COPY && !PatchSystemIni()) {
            TellRunEnded();   /* a patch that failed ends the run as a Cancel does */
            return 0;
        }
        page = next;
    }
    ShowWizardPage(WIZARD_FINISH);      /* its result is not looked at */
    return 1;
}
