#include <windows.h>
#include "run_report.h"
#include "../shared/bounded_text.h"
#include "../shared/report_file.h"
#include "../shared/failure_note.h"

static int AskedAndCancelled(const char *question)
{
    char text[FAILURE_MESSAGE_SIZE + 16];
    CopyText(text, sizeof text, question);
    AppendText(text, sizeof text, " -> Cancel");
    ReportLine("ASKED", text);
    ReportFailure();   /* what the question was about; the Cancel ends the run */
    return 0;
}

static void Changed(int kind, const char *name)
{
    static const char *const keywords[] = { "DIR", "FILE", "KEY", "INI" };
    ReportLine(keywords[kind], name);
}

const RunObserver ReportFace = { 0, 0, 0, AskedAndCancelled, 0, 0, Changed };
