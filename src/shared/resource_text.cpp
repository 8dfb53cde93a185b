/* String-table texts in a ring of four buffers, so a caller can hold up to four at once. */
#include "setup_state.h"

static char TextRing[4][256];
static int TextRingIndex = 4;   /* outside 0..3: the first call takes buffer 0 */

char *ResourceText(unsigned int id)
{
    TextRingIndex = TextRingIndex < 3 ? TextRingIndex + 1 : 0;
    char *text = TextRing[TextRingIndex];
    if (LoadStringA(SetupState.ModuleInstance, id & 0xFFFF, text, sizeof TextRing[0]) > 0)
        return text;
    return 0;
}
