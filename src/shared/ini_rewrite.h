/* The line rewriting of system.ini, on plain streams. */
#ifndef INI_REWRITE_H
#define INI_REWRITE_H

#include <stdio.h>

#define INI_PIECE_LIMIT 120   /* a read takes at most 119 characters */

/* Copies in to out, replacing the first line that mentions "mouse" inside [386Enh]
   (from a line holding "[386Enh]" to the next line starting with '[') by
   "mouse=*vmouse", or adding that line as the section's last when it has none.
   1 when all of in was read and every write succeeded; 0 otherwise, also for a NUL
   byte in in, which the line reads cannot carry over. */
int RewriteSystemIni(FILE *in, FILE *out);

/* 1 when raw, read in binary, holds an end-of-file mark (Ctrl+Z) with text after it:
   a text-mode read stops at the mark and would lose that text. Marks followed by
   nothing but blanks and line ends, as old editors leave them, count as the end. */
int EndMarkHidesText(FILE *raw);

#endif
