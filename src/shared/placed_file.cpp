#include "placed_file.h"
#include "crc32.h"
#include "log_lines.h"

/* A PLACED record: kind, target, then these fields. */
#define SIZE_FIELD 2
#define TIME_FIELD 3
#define CRC_FIELD 4

static const ULONGLONG Hour = 36000000000ULL;   /* in the 100 ns steps of a file time */

int AddPlacedFields(char *line, int size, const PlacedStamp *stamp)
{
    char text[24];
    wsprintfA(text, "%lu", stamp->size);
    if (!AddLogField(line, size, text))
        return 0;
    wsprintfA(text, "%08lX%08lX", stamp->time.dwHighDateTime, stamp->time.dwLowDateTime);
    if (!AddLogField(line, size, text))
        return 0;
    wsprintfA(text, "%08lX", stamp->crc);
    return AddLogField(line, size, text);
}

/* A field of hexadecimal digits (at most 16) as a number; 0 for any other text. */
static int HexField(const char *line, int index, ULONGLONG *value)
{
    char text[24];
    *value = 0;
    if (!LogField(line, index, text, sizeof text) || !text[0] || lstrlenA(text) > 16)
        return 0;
    for (const char *p = text; *p; p++) {
        int digit = *p >= '0' && *p <= '9' ? *p - '0' : *p >= 'A' && *p <= 'F' ? *p - 'A' + 10 : -1;
        if (digit < 0)
            return 0;
        *value = *value << 4 | (ULONGLONG)digit;
    }
    return 1;
}

int ReadPlacedFields(const char *line, PlacedStamp *stamp)
{
    char size[16];
    ULONGLONG time, crc;
    if (!LogField(line, SIZE_FIELD, size, sizeof size) || !HexField(line, TIME_FIELD, &time))
        return 0;
    stamp->size = 0;
    for (const char *p = size; *p >= '0' && *p <= '9'; p++)
        stamp->size = stamp->size * 10 + (DWORD)(*p - '0');
    stamp->time.dwLowDateTime = (DWORD)time;
    stamp->time.dwHighDateTime = (DWORD)(time >> 32);
    stamp->hasCrc = HexField(line, CRC_FIELD, &crc);
    stamp->crc = (DWORD)crc;
    return 1;
}

static ULONGLONG Steps(const FILETIME *t)
{
    return (ULONGLONG)t->dwHighDateTime << 32 | t->dwLowDateTime;
}

/* An earlier log's record: the time as placed or an hour off. */
static int SameHour(const FILETIME *time, const PlacedStamp *stamp)
{
    ULONGLONG now = Steps(time), then = Steps(&stamp->time);
    ULONGLONG apart = now > then ? now - then : then - now;
    return apart == 0 || apart == Hour;
}

/* The CRC-32 of the open file's contents, read to its end; 0 when it cannot be read. */
static int ContentsCrc(HANDLE file, DWORD *crc)
{
    char block[32768];   /* on the stack: the program's data is part of its file */
    DWORD got;
    Crc32Table table;
    MakeCrc32Table(table);
    *crc = 0;
    do {
        if (!ReadFile(file, block, sizeof block, &got, 0))
            return 0;
        *crc = Crc32Add(table, *crc, block, got);
    } while (got);
    return 1;
}

/* *as for the open file: its size first, then its contents or (an earlier log's
   record) its time; 0 when it cannot be read. */
static int IsOpenFileAsPlaced(HANDLE file, const PlacedStamp *stamp, int *as)
{
    DWORD high, crc, size = GetFileSize(file, &high);
    FILETIME written;
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return 0;
    if (size != stamp->size || high)
        return 1;
    if (!stamp->hasCrc) {
        if (!GetFileTime(file, 0, 0, &written))
            return 0;
        *as = SameHour(&written, stamp);
        return 1;
    }
    if (!ContentsCrc(file, &crc))
        return 0;
    *as = crc == stamp->crc;
    return 1;
}

int IsFileAsPlaced(const char *path, const PlacedStamp *stamp, int *as)
{
    *as = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, 0);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    int read = IsOpenFileAsPlaced(file, stamp, as);
    DWORD error = GetLastError();
    CloseHandle(file);   /* only read: its close has nothing to lose */
    SetLastError(error);
    return read;
}
