/* The order of the wizard pages, steered by each page's result. */
#ifndef PAGE_WALK_H
#define PAGE_WALK_H

#include "../shared/mouse_app.h"

enum WizardPage { WIZARD_WELCOME, WIZARD_MOUSETYPE, WIZARD_DESTINATION, WIZARD_COPY,
                  WIZARD_FINISH, WIZARD_END };

/* The page that follows page after it returned result (WIZARD_END after a cancel). */
int NextWizardPage(int page, short result);

/* The copy page; a copy that did not go through (cancelled, or failed and then not
   tried again) is told here. Its result. */
short RunCopyPage(void);

/* Runs the full wizard from the welcome page; 1 when the finish page was reached and
   closed, 0 when the user cancelled. */
int WalkWizardPages(void);

#endif
