/* The wizard's pages meet the installation engine here: the copy page is the copy's
   face, and the destination page's checks are the engine's. */
#include "wizard_faces.h"
#include "../ui/copy_page.h"
#include "../ui/pages.h"
#include "../install/copy_engine.h"
#include "../install/run_observer.h"
#include "../install/destination.h"
#include "../shared/install_dir.h"

static const RunObserver CopyPageFace = {
    CopyPageDiskBegins, CopyPageFileBegins, CopyPageProgress, CopyPageAsk,
    CopyPageCancelled, CopyPageRegistering, 0
};

static int CopyWithPage(void)
{
    WatchRun(&CopyPageFace);
    int done = CopyPackage();
    WatchRun(0);
    return done;
}

static const DestinationChecks EngineChecks = {
    TakeCopyDestination, IsExistingDirectory, PrepareDestination
};

void GivePagesTheirWork(void)
{
    UseCopyWork(CopyWithPage);
    UseDestinationChecks(&EngineChecks);
}
