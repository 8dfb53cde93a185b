#include "failure_note.h"
#include "setup_state.h"
#include "bounded_text.h"

int NoteFailureOfTwo(UINT textId, const char *first, const char *second)
{
    DWORD error = GetLastError();
    if (SetupState.Failures++ == 0) {
        SetupState.FailureText = textId;
        SetupState.FailureError = error;
        CopyText(SetupState.FailureName, sizeof SetupState.FailureName, first);
        CopyText(SetupState.FailureOther, sizeof SetupState.FailureOther, second);
    }
    return 0;
}

int NoteFailure(UINT textId, const char *name)
{
    return NoteFailureOfTwo(textId, name, "");
}

void KeyName(HKEY root, const char *path, char *name, int size)
{
    const char *rootName = root == HKEY_CLASSES_ROOT ? "HKEY_CLASSES_ROOT\\"
                           : root == HKEY_DYN_DATA   ? "HKEY_DYN_DATA\\"
                                                     : "HKEY_LOCAL_MACHINE\\";   /* the only
                                                        other root either program uses */
    CopyText(name, size, rootName);
    AppendText(name, size, path);
}

int NoteKeyFailure(UINT textId, HKEY root, const char *path)
{
    char name[sizeof SetupState.FailureName];
    KeyName(root, path, name, sizeof name);
    return NoteFailure(textId, name);
}

int FailureCount(void)
{
    return SetupState.Failures;
}

DWORD FailureError(void)
{
    return SetupState.FailureError;
}

void ForgetFailures(void)
{
    SetupState.Failures = 0;
    SetupState.FailureText = 0;
    SetupState.FailureError = 0;
    SetupState.FailureName[0] = SetupState.FailureOther[0] = 0;
}

/* How many %s the text takes. */
static int Placeholders(const char *format)
{
    int n = 0;
    for (; *format; format++)
        if (format[0] == '%' && format[1] == 's')
            n++;
    return n;
}

void FailureMessage(char *text)
{
    text[0] = 0;
    if (!SetupState.Failures)
        return;
    char format[256];
    CopyText(format, sizeof format, ResourceText(SetupState.FailureText));
    /* each name is at most 255 characters: the result stays within wsprintfA's 1024 */
    wsprintfA(text, format, SetupState.FailureName, SetupState.FailureOther);
    if (Placeholders(format) < 2 && SetupState.FailureOther[0]) {
        AppendText(text, FAILURE_MESSAGE_SIZE, "\n\n");
        AppendText(text, FAILURE_MESSAGE_SIZE, SetupState.FailureOther);
    }
}
