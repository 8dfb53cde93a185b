/* system.ini is read in pieces of at most 119 characters: a whole line, or the parts
   of a longer one. Only a piece that starts a line can be replaced, and a replaced
   line is replaced whole. */
#include "ini_rewrite.h"
#include "../controller/bounded_text.h"

static int EndsLine(const char *piece)
{
    int n = 0;
    while (piece[n])
        n++;
    return n > 0 && piece[n - 1] == '\n';
}

int RewriteSystemIni(FILE *in, FILE *out)
{
    char piece[128];
    int inSection = 0;     /* a line holding "[386Enh]" has been seen */
    int lineStart = 1;     /* the next piece starts a line */
    int dropping = 0;      /* the rest of a replaced line */
    int ok = 1;
    while (fgets(piece, INI_PIECE_LIMIT, in)) {
        int startsLine = lineStart;
        lineStart = EndsLine(piece);
        if (dropping) {
            dropping = !lineStart;
            continue;
        }
        if (ContainsText(piece, "[386Enh]"))
            inSection = 1;
        if (inSection && startsLine && piece[0] != ';' && ContainsText(piece, "mouse")) {
            if (fputs("mouse=*vmouse\n", out) < 0)
                ok = 0;
            inSection = 0;
            dropping = !lineStart;
            continue;
        }
        if (fputs(piece, out) < 0)
            ok = 0;
    }
    return ok;
}
