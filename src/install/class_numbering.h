/* Numbering of the driver class keys Mouse\NNNN: the first gap in the subkey names. */
#ifndef CLASS_NUMBERING_H
#define CLASS_NUMBERING_H

struct ClassNumbering {
    short previous;
    short chosen;
};

void StartClassNumbering(ClassNumbering *n);

/* Takes the next subkey name in enumeration order; 0 once a gap is found (stop). */
int TakeClassName(ClassNumbering *n, const char *name);

/* The number for the new key. */
short NextClassNumber(const ClassNumbering *n);

#endif
