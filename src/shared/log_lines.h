/* The install log's lines: one record a line, its fields separated by a tab. In a field
   every byte below 32, '%' and 127 is written as '%' and two hexadecimal digits, so that
   any path, key name or value travels whole and a line end is always a record's end.
   No platform calls, so it also builds natively. */
#ifndef LOG_LINES_H
#define LOG_LINES_H

#define LOG_LINE_SIZE 2400   /* a record of the longest paths and values this program writes */
#define LOG_FIELD_SIZE 1100

/* Appends field, escaped, to line (size bytes), after a tab unless line is empty; 0
   when it does not fit (line is then left as it was). */
int AddLogField(char *line, int size, const char *field);

/* Appends count bytes as one field of two hexadecimal digits each; 0 when it does not
   fit (line left as it was). */
int AddLogBytes(char *line, int size, const unsigned char *bytes, int count);

/* The index-th field (from 0) of a line (without its line end), unescaped into field
   (size bytes); 0 when the line has no such field, or it does not fit. */
int LogField(const char *line, int index, char *field, int size);

/* The index-th field read as hexadecimal bytes into bytes (size): their count, or -1
   when there is no such field or it is no such text. */
int LogBytes(const char *line, int index, unsigned char *bytes, int size);

/* The next whole line of text (length bytes) from *at on, copied into line (size
   bytes) without its line end; *at moves past it. 0 at the end, and for a last line
   without its line end (torn by a power cut: it is not taken). A line longer than size
   is a reading error: -1. */
int NextLogLine(const char *text, int length, int *at, char *line, int size);

#endif
