/* Bounded text helpers: every copy into a fixed-size buffer goes through these. */
#ifndef BOUNDED_TEXT_H
#define BOUNDED_TEXT_H

/* The number of characters before the terminating NUL (natively built code has no
   lstrlenA). */
int TextLength(const char *text);

/* Copies src into dst of size bytes, cutting at size - 1 characters; always terminates. */
void CopyText(char *dst, int size, const char *src);

/* Appends src to the text in dst of size bytes, cutting at size - 1 characters in all. */
void AppendText(char *dst, int size, const char *src);

/* c, a letter A-Z made lower case. */
char LowerLetter(char c);

/* 1 when the two texts are equal apart from the case of the letters a-z. */
int SameTextNoCase(const char *a, const char *b);

/* 1 when text begins with prefix, apart from the case of the letters a-z. */
int BeginsWithNoCase(const char *text, const char *prefix);

/* 1 when needle occurs in text (case-sensitive). */
int ContainsText(const char *text, const char *needle);

#endif
