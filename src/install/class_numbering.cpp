/* No platform calls, so it also builds natively. Numbers are 16-bit, as the names'
   leading digits are read into a short. */
#include "class_numbering.h"

void StartClassNumbering(ClassNumbering *n)
{
    n->previous = -1;
    n->chosen = -1;
}

static short LeadingNumber(const char *text)
{
    short number = 0;
    for (; *text >= '0' && *text <= '9'; text++)
        number = (short)(number * 10 + (*text - '0'));
    return number;
}

int TakeClassName(ClassNumbering *n, const char *name)
{
    short number = LeadingNumber(name);
    if (number - n->previous > 1) {
        n->chosen = n->previous;   /* the gap after the previous number */
        return 0;
    }
    n->chosen = n->previous = number;
    return 1;
}

short NextClassNumber(const ClassNumbering *n)
{
    return (short)(n->chosen + 1);
}
