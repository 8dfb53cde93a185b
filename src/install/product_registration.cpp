/* The mouse application's entries: the Mouse control panel's property-page handler,
   the start-up entry and the uninstall entry, all pointing into InstallDir. */
#include "registration.h"
#include "run_observer.h"
#include "../shared/registry_values.h"
#include "../shared/setup_state.h"
#include "../shared/product_keys.h"
#include "../shared/bounded_text.h"
#include "../shared/path_text.h"
#include "../shared/failure_note.h"
#include "../../resources/resource.h"

enum ValueSource { FIXED_TEXT, AFTER_INSTALL_DIR, SCRIPT_TITLE, COMMAND_IN_INSTALL_DIR };

/* One value: a fixed text, or InstallDir followed by a file part, or the Title (the
   product name when there is none), or a command: a program in InstallDir and its
   arguments. */
struct ProductValue {
    const char *name;
    const char *text;
    ValueSource source;
    const char *arguments;
};

struct ProductKey {
    HKEY root;
    const char *path;
    ProductValue values[2];
};

/* Windows splits a command line at its first blank: a program path holding one is
   put in quotes. */
static void ComposeCommand(const ProductValue *value, char *data, int size)
{
    char program[MAX_PATH];
    const char *quote = ContainsText(SetupState.InstallDir, " ") ? "\"" : "";
    JoinPath(program, sizeof program, SetupState.InstallDir, value->text);   /* 79 and 12 */
    CopyText(data, size, quote);
    AppendText(data, size, program);
    AppendText(data, size, quote);
    AppendText(data, size, value->arguments);
}

static void ComposeValue(const ProductValue *value, char *data, int size)
{
    data[0] = 0;
    if (value->source == COMMAND_IN_INSTALL_DIR) {
        ComposeCommand(value, data, size);
        return;
    }
    if (value->source == SCRIPT_TITLE) {   /* without a title, the list shows the product */
        CopyText(data, size, SetupState.Title[0] ? SetupState.Title : SetupState.ProductName);
        return;
    }
    if (value->source == AFTER_INSTALL_DIR)
        JoinPath(data, size, SetupState.InstallDir, value->text);
    else
        CopyText(data, size, value->text);
}

/* Writes one key's values; 0, noted, at the first that fails. */
static int WriteProductKey(const ProductKey *k)
{
    HKEY key;
    if (!CreateRegKey(k->root, k->path, &key))
        return NoteKeyFailure(IDS_CANNOTWRITEKEY, k->root, k->path);
    int written = 1;
    for (int v = 0; v < 2 && k->values[v].text && written; v++) {
        char data[300];
        ComposeValue(&k->values[v], data, sizeof data);
        written = SetRegText(key, k->values[v].name, data);
    }
    CloseRegKey(key);
    if (!written)
        return NoteKeyFailure(IDS_CANNOTWRITEKEY, k->root, k->path);
    TellKeyWritten(k->root, k->path);
    return 1;
}

int RegisterProduct(void)
{
    /* The uninstall entry first: whatever is written after it can be removed through
       it, and the start-up value, which makes a later setup refuse, never exists
       without it. The steps stop at the first key that cannot be written. */
    const ProductKey keys[] = {
        { HKEY_LOCAL_MACHINE, UNINSTALL_KEY,
          { { "DisplayName", "", SCRIPT_TITLE, 0 },
            { "UninstallString", "UNINSTAL.EXE", COMMAND_IN_INSTALL_DIR, "" } } },
        { HKEY_CLASSES_ROOT, PAGE_CLSID_KEY,
          { { 0, "KXMouseControlPage", FIXED_TEXT, 0 } } },
        { HKEY_CLASSES_ROOT, PAGE_CLSID_KEY "\\InProcServer32",
          { { 0, "KXPAGE.DLL", AFTER_INSTALL_DIR, 0 },
            { "ThreadingModel", "Apartment", FIXED_TEXT, 0 } } },
        { HKEY_LOCAL_MACHINE, HANDLERS_KEY,
          { { 0, PAGE_HANDLER_NAME, FIXED_TEXT, 0 } } },
        { HKEY_LOCAL_MACHINE, HANDLERS_KEY "\\" PAGE_HANDLER_NAME,
          { { 0, PAGE_CLSID, FIXED_TEXT, 0 } } },
        { HKEY_LOCAL_MACHINE, RUN_KEY,
          { { MOUSE_APP_TITLE, "KXMAIN.EXE", COMMAND_IN_INSTALL_DIR, " -startup" } } },
    };
    for (unsigned k = 0; k < sizeof keys / sizeof keys[0]; k++)
        if (!WriteProductKey(&keys[k]))
            return 0;
    return 1;
}
