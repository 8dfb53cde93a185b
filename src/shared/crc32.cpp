#include "crc32.h"

void MakeCrc32Table(Crc32Table table)
{
    for (unsigned long n = 0; n < 256; n++) {
        unsigned long c = n;
        for (int k = 0; k < 8; k++)
            c = c & 1 ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
}

unsigned long Crc32Add(const Crc32Table table, unsigned long crc, const void *bytes,
                       unsigned long count)
{
    const unsigned char *p = (const unsigned char *)bytes;
    crc = ~crc & 0xFFFFFFFFUL;
    while (count--)
        crc = table[(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc & 0xFFFFFFFFUL;
}
