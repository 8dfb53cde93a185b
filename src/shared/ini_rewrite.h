/* The line rewriting of system.ini, on plain streams. */
#ifndef INI_REWRITE_H
#define INI_REWRITE_H

#include <stdio.h>

#define INI_PIECE_LIMIT 120   /* a read takes at most 119 characters */

/* The mouse line of system.ini is the first line inside [386Enh] (from a line holding
   "[386Enh]" to the next line starting with '[') that mentions "mouse" and does not
   start with ';'. */

#define MOUSE_LINE_EVERY_SECTION 1   /* also in each later [386Enh] section */
#define MOUSE_LINE_ADD_MISSING 2     /* a section without one gets line as its last */

/* Copies in to out with the mouse line of the first [386Enh] section replaced whole by
   line (a text ending in a line end, or empty to drop the mouse line), as flags say.
   1 when all of in was read and every write succeeded; 0 otherwise, also for a NUL
   byte in in, which the line reads cannot carry over. */
int RewriteMouseLine(FILE *in, FILE *out, const char *line, int flags);

/* The mouse line of in's first [386Enh] section, without its line end, in line (size
   bytes): 1 and the line; 1 and an empty line when the section has none; 0 when there
   is no [386Enh] section, the line is too long for size, or in holds a NUL byte. */
int FindMouseLine(FILE *in, char *line, int size);

/* 1 when raw, read in binary, holds an end-of-file mark (Ctrl+Z) with text after it:
   a text-mode read stops at the mark and would lose that text. Marks followed by
   nothing but blanks and line ends, as old editors leave them, count as the end. */
int EndMarkHidesText(FILE *raw);

#endif
