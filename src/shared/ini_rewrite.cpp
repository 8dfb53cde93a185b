/* system.ini is read in pieces of at most 119 characters: a whole line, or the parts
   of a longer one. Only a piece that starts a line can be replaced, and a replaced
   line is replaced whole. */
#include "ini_rewrite.h"
#include "bounded_text.h"

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


/* Where the rewrite stands. A [386Enh] section runs from a line holding "[386Enh]" to
   the next line that starts with '['. */
struct RewriteState {
    const char *line;   /* what takes the mouse line's place */
    int flags;
    int inSection;      /* inside [386Enh], its mouse line not yet written */
    int lineStart;      /* the next piece starts a line */
    int dropping;       /* the rest of a replaced line */
    int done;           /* one section rewritten, and no more are to be */
    int ok;             /* every write succeeded */
};

static void Put(RewriteState *s, const char *text, FILE *out)
{
    if (fputs(text, out) < 0)
        s->ok = 0;
}

static int EndsSection(const char *piece, int startsLine, int holdsHeader)
{
    return startsLine && piece[0] == '[' && !holdsHeader;
}

/* The header line itself is never replaced: "[386Enh] ; mouse" would take the
   section's name with it. A comment starts with ';'. */
static int IsCandidate(const char *piece, int startsLine, int holdsHeader)
{
    return startsLine && !holdsHeader && piece[0] != ';' && ContainsText(piece, "mouse");
}

static void LeaveSection(RewriteState *s)
{
    s->inSection = 0;
    s->done = !(s->flags & MOUSE_LINE_EVERY_SECTION);
}

static void RewritePiece(RewriteState *s, const char *piece, int length, FILE *out)
{
    int startsLine = s->lineStart;
    s->lineStart = EndsLine(piece, length);
    if (s->dropping) {
        s->dropping = !s->lineStart;
        return;
    }
    int holdsHeader = ContainsText(piece, "[386Enh]");
    if (s->inSection && EndsSection(piece, startsLine, holdsHeader)) {
        if (s->flags & MOUSE_LINE_ADD_MISSING)
            Put(s, s->line, out);   /* the section had none: it becomes its last line */
        LeaveSection(s);
    }
    if (holdsHeader && !s->done)
        s->inSection = 1;
    if (s->inSection && IsCandidate(piece, startsLine, holdsHeader)) {
        Put(s, s->line, out);
        LeaveSection(s);
        s->dropping = !s->lineStart;
        return;
    }
    Put(s, piece, out);
}

int RewriteMouseLine(FILE *in, FILE *out, const char *line, int flags)
{
    char piece[128];
    RewriteState s = { line, flags, 0, 1, 0, 0, 1 };
    int length, sawNul = 0;
    while ((length = ReadPiece(piece, INI_PIECE_LIMIT, in, &sawNul)) > 0) {
        if (sawNul)
            return 0;   /* a text piece could not carry the rest over */
        RewritePiece(&s, piece, length, out);
    }
    if (s.inSection && (flags & MOUSE_LINE_ADD_MISSING)) {
        /* [386Enh] is the last section and has no mouse line */
        if (!s.lineStart)
            Put(&s, "\n", out);
        Put(&s, line, out);
    }
    if (ferror(in))
        s.ok = 0;   /* a read that failed part-way would leave the copy short */
    return s.ok;
}

/* Appends a piece of the mouse line; 0 when the line would not fit. */
static int TakePiece(char *line, int size, const char *piece)
{
    if (TextLength(line) + TextLength(piece) >= size)
        return 0;
    AppendText(line, size, piece);
    return 1;
}

static int EndTakenLine(char *line)
{
    int n = TextLength(line);
    while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r'))
        line[--n] = 0;
    return 1;
}

int FindMouseLine(FILE *in, char *line, int size)
{
    char piece[128];
    int length, sawNul = 0, lineStart = 1, inSection = 0, taking = 0;
    line[0] = 0;
    while ((length = ReadPiece(piece, INI_PIECE_LIMIT, in, &sawNul)) > 0 && !sawNul) {
        int startsLine = lineStart;
        lineStart = EndsLine(piece, length);
        if (!taking) {
            int holdsHeader = ContainsText(piece, "[386Enh]");
            if (inSection && EndsSection(piece, startsLine, holdsHeader))
                break;   /* the section has no mouse line */
            if (holdsHeader)
                inSection = 1;
            taking = inSection && IsCandidate(piece, startsLine, holdsHeader);
            if (!taking)
                continue;
        }
        if (!TakePiece(line, size, piece)) {
            line[0] = 0;
            return 0;   /* too long to be held whole */
        }
        if (lineStart)
            return EndTakenLine(line);
    }
    if (sawNul || ferror(in)) {
        line[0] = 0;
        return 0;
    }
    if (taking)
        return EndTakenLine(line);   /* the file's last line, without a line end */
    line[0] = 0;
    return inSection;
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
