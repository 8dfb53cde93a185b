/* The wizard's pages meet the installation engine here. */
#ifndef WIZARD_FACES_H
#define WIZARD_FACES_H

/* Hands the copy page the copy, with the page as its face, and the destination page
   the engine's checks: before the wizard's pages run. */
void GivePagesTheirWork(void);

#endif
