#include "crc32.h"

/* Four bits at a time: a table of sixteen, where one of 256 would be a kilobyte of the
   program's file, which Windows 95 reads from a floppy. */
static const unsigned long Nibble[16] = {
    0x00000000UL, 0x1DB71064UL, 0x3B6E20C8UL, 0x26D930ACUL, 0x76DC4190UL, 0x6B6B51F4UL,
    0x4DB26158UL, 0x5005713CUL, 0xEDB88320UL, 0xF00F9344UL, 0xD6D6A3E8UL, 0xCB61B38CUL,
    0x9B64C2B0UL, 0x86D3D2D4UL, 0xA00AE278UL, 0xBDBDF21CUL,
};

unsigned long Crc32Add(unsigned long crc, const void *bytes, unsigned long count)
{
    const unsigned char *p = (const unsigned char *)bytes;
    crc = ~crc & 0xFFFFFFFFUL;
    while (count--) {
        crc ^= *p++;
        crc = Nibble[crc & 15] ^ (crc >> 4);
        crc = Nibble[crc & 15] ^ (crc >> 4);
    }
    return ~crc & 0xFFFFFFFFUL;
}
