/* A place's one form, and its other names: written whole, and in its short (8.3) form. */
#ifndef PATH_NAMES_H
#define PATH_NAMES_H

/* path written whole, "." and ".." taken out, in its one form (TidyPlace: no backslash
   at the end but a root's), into place (size bytes); 0 when it does not fit. */
int CanonicalPath(const char *path, char *place, int size);

/* The 8.3 form of path, written whole; for a file that does not exist yet, its
   directory's short form and its own name (which must then be 8.3 already). 0 when it
   does not fit size bytes, or has no such form (ERROR_INVALID_NAME). */
int ShortPath(const char *path, char *shortPath, int size);

/* 1 when both name the same file or directory: in their one form, or in their short
   forms (a directory typed in its 8.3 form is found under its long name too), without
   regard to case. */
int SamePlace(const char *a, const char *b);

/* The position (from 1) of the first name in list (each ended by a null, length bytes
   in all) that is the same place as path; 0 when none is. The texts are compared first: a list kept in the one form holds
   path's own text when it holds the place; the system is asked for the names' forms
   only for a path not found so, and for path's own once. */
int PlaceInList(const char *list, int length, const char *path);

/* For a list asked about for many paths: each name of list (as PlaceInList's) in its one
   form and its short form (empty when it has none), each ended by a null, into forms
   (size bytes), *used bytes in all; a name that has no one form names no place and is
   left out. 0 when they do not fit. */
int FormsOfList(const char *list, int length, char *forms, int size, int *used);

/* PlaceInList over what FormsOfList wrote: the system is asked for path's own short
   form once, and for nothing when the list is empty. */
int PlaceAmongForms(const char *forms, int used, const char *path);

/* What is at path: 1 and its attributes, or 1 and INVALID_FILE_ATTRIBUTES when nothing
   is there; 0 when it cannot be told (the disk or directory cannot be read). */
int PathAttributes(const char *path, unsigned long *attributes);

/* The same, with a path whose attributes cannot be told noted as a file that cannot be
   read (failure_note.h). */
int ToldAttributes(const char *path, unsigned long *attributes);

/* 1 and *there (anything at path); 0, noted as ToldAttributes notes it, when it cannot
   be told: guessed, another program's file could be taken for the package's own. */
int IsPathThere(const char *path, int *there);

#endif
