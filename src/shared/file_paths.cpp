/* No platform calls, so it also builds natively. */
#include "file_paths.h"
#include "path_text.h"
#include "bounded_text.h"

int ComposeSourcePath(char *path, int size, const char *setupDir, const FileEntry *e)
{
    return JoinPath(path, size, setupDir, e->SourceDir) &&
           JoinPath(path, size, path, e->SourceName);
}

int ComposeTargetPath(char *path, int size, const char *installDir, const FileEntry *e)
{
    return JoinPath(path, size, e->TargetIsAbsolute ? "" : installDir, e->TargetDir) &&
           JoinPath(path, size, path, e->TargetName);
}

int LongestCopyPath(const char *installDir, const FileEntry *e)
{
    if (e->TargetIsAbsolute)
        return 0;
    /* the target, or the temporary file (KXnnnn.TMP) it is expanded into beside it */
    FileEntry longest = *e;
    if (TextLength(longest.TargetName) < 10)
        CopyText(longest.TargetName, sizeof longest.TargetName, "KXnnnn.TMP");
    char path[512];
    ComposeTargetPath(path, sizeof path, installDir, &longest);
    return TextLength(path);
}
