/* A path's other names: written whole, and in its short (8.3) form. */
#ifndef PATH_NAMES_H
#define PATH_NAMES_H

/* path written whole, with "." and ".." taken out, into whole (size bytes); 0 when it
   does not fit. */
int WholePath(const char *path, char *whole, int size);

/* The 8.3 form of path, written whole; for a file that does not exist yet, its
   directory's short form and its own name (which must then be 8.3 already). 0 when it
   does not fit size bytes. */
int ShortPath(const char *path, char *shortPath, int size);

/* 1 when both name the same file or directory: written whole, or in their short forms
   (a directory typed in its 8.3 form is found under its long name too). */
int SamePlace(const char *a, const char *b);

#endif
