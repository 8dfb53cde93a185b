#include "profile_section.h"

#define FIRST_SECTION_SIZE 2048
#define MOST_SECTION_SIZE 32767   /* the most Windows 95's GetPrivateProfileSectionA fills */

char *ReadWholeSection(const char *file, const char *section, DWORD room, DWORD *used)
{
    for (DWORD size = FIRST_SECTION_SIZE;;) {
        char *lines = (char *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size + room);
        if (!lines)
            return 0;
        *used = GetPrivateProfileSectionA(section, lines, size, file);
        if (*used < size - 2)
            return lines;   /* a cut section is answered as size - 2 */
        GlobalFree(lines);
        if (size == MOST_SECTION_SIZE)
            return 0;
        size = size * 2 < MOST_SECTION_SIZE ? size * 2 : MOST_SECTION_SIZE;
    }
}
