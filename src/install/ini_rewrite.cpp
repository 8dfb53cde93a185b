/* system.ini is read in pieces of at most 119 characters: a whole line, or the parts
   of a longer one. Only a piece that starts a line can be replaced, and a replaced
   line is replaced whole. */
#include "ini_rewrite.h"
#include "../controller/bounded_text.h"

static int EndsLine(const char *piece, int length)
{
    return length > 0 && piece[length - 1] == '\n';
}

/* Reads what fgets would (up to and with a line end, at most limit - 1 characters),
   but counts it, so that a NUL byte inside is seen rather than cutting the piece
   short. Returns the count, 0 at the end of the file. */
static int ReadPiece(char *piece, int limit, FILE *in, int *sawNul)
{
    int n = 0, c = 0;
    while (n < limit - 1 && c != '\n' && (c = fgetc(in)) != EOF) {
        if (c == 0)
            *sawNul = 1;
        piece[n++] = (char)c;
    }
    piece[n] = 0;
    return n;
}

int RewriteSystemIni(FILE *in, FILE *out)
{
    char piece[128];
    int inSection = 0;     /* a line holding "[386Enh]" has been seen */
    int lineStart = 1;     /* the next piece starts a line */
    int dropping = 0;      /* the rest of a replaced line */
    int ok = 1;
    int length, sawNul = 0;
    while ((length = ReadPiece(piece, INI_PIECE_LIMIT, in, &sawNul)) > 0) {
        if (sawNul)
            return 0;   /* a text piece could not carry the rest over */
        int startsLine = lineStart;
        lineStart = EndsLine(piece, length);
        if (dropping) {
            dropping = !lineStart;
            continue;
        }
        int holdsHeader = ContainsText(piece, "[386Enh]");
        if (holdsHeader)
            inSection = 1;
        /* the header line itself is never replaced: "[386Enh] ; mouse" would take the
           section's name with it, and its lines would fall into the section before */
        if (inSection && startsLine && !holdsHeader && piece[0] != ';' &&
            ContainsText(piece, "mouse")) {
            if (fputs("mouse=*vmouse\n", out) < 0)
                ok = 0;
            inSection = 0;
            dropping = !lineStart;
            continue;
        }
        if (fputs(piece, out) < 0)
            ok = 0;
    }
    if (ferror(in))
        ok = 0;   /* a read that failed part-way would leave the copy short */
    return ok;
}

int EndMarkHidesText(FILE *raw)
{
    int c, marked = 0;
    while ((c = fgetc(raw)) != EOF) {
        if (c == 0x1A)
            marked = 1;
        else if (marked && c != '\r' && c != '\n' && c != ' ' && c != '\t')
            return 1;
    }
    return 0;
}
