/* No platform calls, so it also builds natively. */
#include "file_paths.h"
#include "bounded_text.h"

void ComposeSourcePath(char *path, int size, const char *setupDir, const FileEntry *e)
{
    CopyText(path, size, setupDir);
    AppendText(path, size, "\\");
    AppendText(path, size, e->SourceDir);
    AppendText(path, size, "\\");
    AppendText(path, size, e->SourceName);
}

void ComposeTargetPath(char *path, int size, const char *installDir, const FileEntry *e)
{
    path[0] = 0;
    if (!e->TargetIsAbsolute) {
        CopyText(path, size, installDir);
        AppendText(path, size, "\\");
    }
    AppendText(path, size, e->TargetDir);
    AppendText(path, size, "\\");
    AppendText(path, size, e->TargetName);
}

static int Length(const char *text)
{
    int n = 0;
    while (text[n])
        n++;
    return n;
}

int LongestCopyPath(const char *installDir, const FileEntry *e)
{
    if (e->TargetIsAbsolute)
        return 0;
    int name = Length(e->TargetName);
    if (name < 10)
        name = 10;   /* KXnnnn.TMP */
    return Length(installDir) + 1 + Length(e->TargetDir) + 1 + name;
}
