/* Asking the user about a file the copy could not put in place. */
#ifndef COPY_FAILURE_H
#define COPY_FAILURE_H

#include <windows.h>

/* The label of disk (0 for Disk1): the disk-th label that [DiskLabel] holds, counted
   in key order, as the disks themselves are counted by their labels. */
void DiskLabelOf(int disk, char *label, int size);

/* A box owned by the page saying what went wrong with the file (outcome of
   ExpandWhole, or a source that could not be opened); 1 when the user chose Retry. */
int AskToRetry(HWND page, int outcome, int disk, const char *source, const char *target);

#endif
