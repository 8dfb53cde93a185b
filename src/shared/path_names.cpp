#include <windows.h>
#include "path_names.h"
#include "path_text.h"
#include "bounded_text.h"
#include "failure_note.h"
#include "../../resources/shared_strings.h"

#define NAME_SIZE 260

int CanonicalPath(const char *path, char *place, int size)
{
    char *filePart;
    DWORD length = GetFullPathNameA(path, (DWORD)size, place, &filePart);
    if (length == 0 || length >= (DWORD)size) {
        CopyText(place, size, "");
        return 0;
    }
    TidyPlace(place);
    return 1;
}

int ShortPath(const char *given, char *shortPath, int size)
{
    char path[NAME_SIZE];
    if (!CanonicalPath(given, path, sizeof path))
        return 0;
    DWORD length = GetShortPathNameA(path, shortPath, (DWORD)size);
    if (length == 0 || length >= (DWORD)size) {
        /* not there yet: its directory's short form and its own name */
        char dir[NAME_SIZE];
        const char *name = LastPartOf(path);
        if (name == path || !DirectoryOf(path, dir, sizeof dir))
            return 0;
        length = GetShortPathNameA(dir, shortPath, (DWORD)size);
        if (length == 0 || length >= (DWORD)size || !JoinPath(shortPath, size, shortPath, name))
            return 0;
    }
    if (IsShortFormPath(shortPath))
        return 1;
    SetLastError(ERROR_INVALID_NAME);   /* a long name that has no short form */
    return 0;
}

/* a against the one form and the short form of another path, asked of the system once
   for a list (SamePlace for one pair asks for short forms only when the texts differ). */
static int SameAsForms(const char *a, const char *placeB, const char *shortB)
{
    char placeA[NAME_SIZE], shortA[NAME_SIZE];
    if (!CanonicalPath(a, placeA, sizeof placeA))
        return 0;
    if (SameTextNoCase(placeA, placeB))
        return 1;
    return shortB[0] && ShortPath(placeA, shortA, sizeof shortA) && SameTextNoCase(shortA, shortB);
}

/* The one form of path, and its short form, or an empty text when it has none. */
static int FormsOf(const char *path, char *place, char *shortForm)
{
    if (!CanonicalPath(path, place, NAME_SIZE))
        return 0;
    if (!ShortPath(place, shortForm, NAME_SIZE))
        shortForm[0] = 0;
    return 1;
}

int SamePlace(const char *a, const char *b)
{
    char placeA[NAME_SIZE], placeB[NAME_SIZE];
    if (!CanonicalPath(a, placeA, sizeof placeA) || !CanonicalPath(b, placeB, sizeof placeB))
        return 0;
    if (SameTextNoCase(placeA, placeB))
        return 1;
    char shortA[NAME_SIZE], shortB[NAME_SIZE];
    return ShortPath(placeA, shortA, sizeof shortA) && ShortPath(placeB, shortB, sizeof shortB) &&
           SameTextNoCase(shortA, shortB);
}

int PlaceInList(const char *list, int length, const char *path)
{
    int position = 1;
    for (int at = 0; at < length; at += lstrlenA(list + at) + 1, position++)
        if (SameTextNoCase(list + at, path))
            return position;
    char place[NAME_SIZE], shortForm[NAME_SIZE];
    if (!FormsOf(path, place, shortForm))
        return 0;
    position = 1;
    for (int at = 0; at < length; at += lstrlenA(list + at) + 1, position++)
        if (SameAsForms(list + at, place, shortForm))
            return position;
    return 0;
}

int FormsOfList(const char *list, int length, char *forms, int size, int *used)
{
    *used = 0;
    for (int at = 0; at < length; at += lstrlenA(list + at) + 1) {
        char place[NAME_SIZE], shortForm[NAME_SIZE];
        if (!FormsOf(list + at, place, shortForm))
            continue;
        int placeLength = lstrlenA(place) + 1, shortLength = lstrlenA(shortForm) + 1;
        if (*used + placeLength + shortLength > size)
            return 0;
        CopyText(forms + *used, placeLength, place);
        CopyText(forms + *used + placeLength, shortLength, shortForm);
        *used += placeLength + shortLength;
    }
    return 1;
}

/* The pair of forms at forms + at whose one form (short: 0) or short form (1) is
   text; where the next pair begins is left in *at. */
static int PairHolds(const char *forms, int *at, int which, const char *text)
{
    const char *place = forms + *at, *shortForm = place + lstrlenA(place) + 1;
    *at += lstrlenA(place) + lstrlenA(shortForm) + 2;
    const char *form = which ? shortForm : place;
    return form[0] && SameTextNoCase(form, text);
}

int PlaceAmongForms(const char *forms, int used, const char *path)
{
    char place[NAME_SIZE], shortForm[NAME_SIZE];
    if (used == 0 || !CanonicalPath(path, place, sizeof place))
        return 0;
    for (int at = 0; at < used;)
        if (PairHolds(forms, &at, 0, place))
            return 1;
    if (!ShortPath(place, shortForm, sizeof shortForm))
        return 0;
    for (int at = 0; at < used;)
        if (PairHolds(forms, &at, 1, shortForm))
            return 1;
    return 0;
}

int PathAttributes(const char *path, unsigned long *attributes)
{
    *attributes = GetFileAttributesA(path);
    if (*attributes != INVALID_FILE_ATTRIBUTES)
        return 1;
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
        return 1;   /* a name that leads nowhere: nothing is there */
    }
    return 0;
}

int ToldAttributes(const char *path, unsigned long *attributes)
{
    return PathAttributes(path, attributes) || NoteFailure(IDS_CANNOTREAD, path);
}

int IsPathThere(const char *path, int *there)
{
    unsigned long attributes;
    *there = 0;
    if (!ToldAttributes(path, &attributes))
        return 0;
    *there = attributes != INVALID_FILE_ATTRIBUTES;
    return 1;
}
