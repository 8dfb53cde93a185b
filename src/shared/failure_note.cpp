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

/* The text with the names it places; a name it does not place follows on a line of
   its own: the second always, the first only for a line (a box shows a fixed text as
   it stands). */
static void ComposeFailure(char *text, int size, int everyName)
{
    text[0] = 0;
    if (!SetupState.Failures)
        return;
    char format[256];
    CopyText(format, sizeof format, ResourceText(SetupState.FailureText));
    /* each name is at most 255 characters: the result stays within wsprintfA's 1024 */
    wsprintfA(text, format, SetupState.FailureName, SetupState.FailureOther);
    int placed = Placeholders(format);
    const char *unplaced[2] = { placed < 1 && everyName ? SetupState.FailureName : "",
                                placed < 2 ? SetupState.FailureOther : "" };
    for (int i = 0; i < 2; i++)
        if (unplaced[i][0]) {
            AppendText(text, size, "\n\n");
            AppendText(text, size, unplaced[i]);
        }
}

void FailureMessage(char *text)
{
    ComposeFailure(text, FAILURE_MESSAGE_SIZE, 0);
}

void FailureLine(char *text)
{
    ComposeFailure(text, FAILURE_LINE_SIZE, 1);
    if (!SetupState.FailureError)
        return;   /* a refusal, or a check of the program's own: no error to name */
    char error[32];
    wsprintfA(error, " (error %lu)", SetupState.FailureError);
    AppendText(text, FAILURE_LINE_SIZE, error);
}
