/* The unattended run, "-s" and its options: the wizard's checks, copy, registration
   and system.ini patch without a window; the exit code tells how it ended. */
#include "controller.h"
#include "../shared/setup_state.h"
#include "../shared/bounded_text.h"
#include "../shared/mouse_app.h"
#include "../install/copy_page.h"
#include "../install/destination.h"

struct SilentOptions {
    int mouseKind;        /* 1 serial, 0 PS/2, -1 the script's */
    char dir[256];        /* the destination asked for, cut to fit */
    int dirLength;        /* its whole length; -1: none asked for */
    int restart;
};

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

static const char *SkipBlanks(const char *p)
{
    while (IsBlank(*p))
        p++;
    return p;
}

/* The word at p into word (size bytes, cut to fit; its whole length in *length): up
   to the next blank, or between double quotes. The text after it; 0 when a quote is
   not closed or the word does not end at a blank or the end. */
static const char *TakeWord(const char *p, char *word, int size, int *length)
{
    int quoted = *p == '"', n = 0;
    p += quoted;
    while (*p && (quoted ? *p != '"' : !IsBlank(*p))) {
        if (n < size - 1)
            word[n] = *p;
        n++;
        p++;
    }
    word[n < size - 1 ? n : size - 1] = 0;
    *length = n;
    if (quoted && *p++ != '"')
        return 0;
    return *p && !IsBlank(*p) ? 0 : p;
}

/* The options after "-s"; 0 for an unknown one, a -d without its path, a second -d,
   or both mouse types. */
static int ReadSilentOptions(const char *p, SilentOptions *o)
{
    char word[16];
    int length;
    o->mouseKind = -1;
    o->dirLength = -1;
    o->restart = 0;
    for (p = SkipBlanks(p); *p; p = SkipBlanks(p)) {
        if (!(p = TakeWord(p, word, sizeof word, &length)))
            return 0;
        int kind = !lstrcmpA(word, "-serial") ? 1 : !lstrcmpA(word, "-ps2") ? 0 : -1;
        if (kind >= 0 && (o->mouseKind < 0 || o->mouseKind == kind)) {
            o->mouseKind = kind;
        } else if (!lstrcmpA(word, "-r")) {
            o->restart = 1;
        } else if (!lstrcmpA(word, "-d") && o->dirLength < 0) {
            p = SkipBlanks(p);
            if (!*p || !(p = TakeWord(p, o->dir, sizeof o->dir, &o->dirLength)))
                return 0;
        } else {
            return 0;
        }
    }
    return 1;
}

int IsSilentCommand(const char *tail)
{
    return tail && tail[0] == '-' && tail[1] == 's' && (!tail[2] || IsBlank(tail[2]));
}

/* The destination asked for, or the script's default, checked and made as the
   destination page does; an existing directory is taken as it is. */
static int AcceptSilentDestination(const SilentOptions *o)
{
    char *dir = SetupState.InstallDir;
    if (o->dirLength >= 0)
        CopyText(dir, sizeof SetupState.InstallDir, o->dir);
    int length = o->dirLength >= 0 ? o->dirLength : lstrlenA(dir);
    return !DestinationFormFault(dir, length) &&
           !PrepareDestination(dir, IsExistingDirectory(dir));
}

int RunSilentMode(const char *tail)
{
    SilentOptions o;
    SetupState.Silent = 1;
    if (!ReadSilentOptions(tail + 2, &o))
        return SILENT_USAGE;
    if (FindWindowA(0, MOUSE_APP_TITLE) || IsMouseAppRegistered() ||
        !(GetVersion() & 0x80000000))
        return SILENT_REFUSED;
    if (!LoadScriptAndWindowsDir())
        return SILENT_NO_SCRIPT;
    if (o.mouseKind >= 0)
        SetupState.MouseKind = o.mouseKind;
    if (!AcceptSilentDestination(&o)) {
        ReleaseFileTable();
        return SILENT_USAGE;
    }
    CloseMouseApp();
    int installed = CopyPackage(0) && PatchSystemIni();
    ReleaseFileTable();
    if (!installed)
        return SILENT_FAILED;   /* left as after the wizard's Cancel */
    if (o.restart)
        ExitWindowsEx(EWX_REBOOT, 0);   /* refused, it is the user's restart still to
                                           come: the installation is whole either way */
    return SILENT_INSTALLED;
}
