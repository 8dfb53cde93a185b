#include "failure_note.h"
#include "setup_state.h"
#include "bounded_text.h"

int NoteFailureOfTwo(UINT textId, const char *first, const char *second)
{
    if (SetupState.Failures++ == 0) {
        SetupState.FailureText = textId;
        CopyText(SetupState.FailureName, sizeof SetupState.FailureName, first);
        CopyText(SetupState.FailureOther, sizeof SetupState.FailureOther, second);
    }
    return 0;
}

int NoteFailure(UINT textId, const char *name)
{
    return NoteFailureOfTwo(textId, name, "");
}

static const char *RootName(HKEY root)
{
    if (root == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT\\";
    if (root == HKEY_DYN_DATA)
        return "HKEY_DYN_DATA\\";
    return "HKEY_LOCAL_MACHINE\\";   /* the only other root either program writes */
}

int NoteKeyFailure(UINT textId, HKEY root, const char *path)
{
    char name[sizeof SetupState.FailureName];
    CopyText(name, sizeof name, RootName(root));
    AppendText(name, sizeof name, path);
    return NoteFailure(textId, name);
}

int FailureCount(void)
{
    return SetupState.Failures;
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
}
