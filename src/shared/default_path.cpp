/* No platform calls, so it also builds natively. */
#include "default_path.h"
#include "bounded_text.h"

int IsDrivePath(const char *value)
{
    return value[0] && value[1] == ':' && value[2];
}

void ComposeOfferedDir(char *dir, int size, const char *value, char windowsDrive,
                       const char *programFilesDir)
{
    if (IsDrivePath(value)) {
        CopyText(dir, size, value);
        dir[0] = windowsDrive;
        return;
    }
    CopyText(dir, size, programFilesDir);
    if (value[0] != '\\')
        AppendText(dir, size, "\\");
    AppendText(dir, size, value);
}
