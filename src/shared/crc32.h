/* The CRC-32 of ISO 3309 (the one of ZIP and PNG) over bytes, as the copy writes them
   and the uninstaller reads them back. No platform calls, so it also builds natively. */
#ifndef CRC32_H
#define CRC32_H

/* The CRC of what crc (0 for nothing yet) stood for, followed by count bytes. */
unsigned long Crc32Add(unsigned long crc, const void *bytes, unsigned long count);

#endif
