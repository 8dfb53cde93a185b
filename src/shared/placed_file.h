/* A file as setup put it in place, as its install log's PLACED record keeps it: its
   size, its last-write time and the CRC-32 of its contents. A file is the one setup
   placed while its size and contents are: FAT keeps local time, so every time moves by
   an hour across a change to or from daylight saving time, and a file rewritten with
   the same size and time is another file. A record of a log written before the CRC was
   kept is matched by size and by a time that differs by a whole hour at most. */
#ifndef PLACED_FILE_H
#define PLACED_FILE_H

#include <windows.h>

struct PlacedStamp {
    DWORD size;
    FILETIME time;
    DWORD crc;
    int hasCrc;   /* 0: a record of an earlier log, without one */
};

/* The record's fields from its size on (size, time, CRC), appended to line (size bytes);
   0 when they do not fit. */
int AddPlacedFields(char *line, int size, const PlacedStamp *stamp);

/* The fields of a PLACED record (its line) read back; 0 for a record without them. */
int ReadPlacedFields(const char *line, PlacedStamp *stamp);

/* 1 and *as 1 when the file at path is as stamp has it (size and CRC, or for a record
   without a CRC size and time as above); 0, with the platform's answer as the last
   error, when it is there and cannot be read. A file not there is not as placed. */
int IsFileAsPlaced(const char *path, const PlacedStamp *stamp, int *as);

#endif
