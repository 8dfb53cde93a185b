/* The CRC-32 of ISO 3309 (the one of ZIP and PNG) over bytes, as the copy writes them
   and the uninstaller reads them back. No platform calls, so it also builds natively. */
#ifndef CRC32_H
#define CRC32_H

/* A byte at a time through a table of 256, a kilobyte its user keeps on its stack: as
   the program's static data it would be a kilobyte of the program's file, which
   Windows 95 reads from a floppy. */
typedef unsigned long Crc32Table[256];
void MakeCrc32Table(Crc32Table table);

/* The CRC of what crc (0 for nothing yet) stood for, followed by count bytes. */
unsigned long Crc32Add(const Crc32Table table, unsigned long crc, const void *bytes,
                       unsigned long count);

#endif
