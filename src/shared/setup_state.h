/* The one process-wide record every unit of the program works on. */
#ifndef SETUP_STATE_H
#define SETUP_STATE_H

#ifdef _WIN32
#include <windows.h>
#else
/* The package checker builds the script loader natively: there the record's handles
   are plain pointers. */
typedef void *HINSTANCE;
typedef void *HGLOBAL;
typedef void *HWND;
typedef unsigned char BYTE;
#endif
#include "file_table.h"

enum PageResult { PAGE_CANCEL = 0, PAGE_NEXT = 1, PAGE_BACK = 2 };

#define WM_PAGE_INIT (WM_USER + 100)

/* Default member values are constants, so the record is filled in at load time:
   SETUP.EXE runs no static constructors. */
struct SETUPSTATE {
    /* Environment, captured at start */
    HINSTANCE ModuleInstance = 0;
    short ScreenWidth = 0;
    short ScreenHeight = 0;
    char WindowsDir[80] = "";
    char SetupDir[80] = "";

    /* From the setup script */
    char ProductName[72] = "";
    char Caption[256] = "";
    char OfferedDir[256] = "";              /* DefaultPath composed: the destination offered */
    short MinimumSpace = 0;
    int OEM = 0;
    int MouseKind = 1;                      /* 1 serial, 0 PS/2 */
    short DiskCount = 0;
    short DiskFileCount[MAX_DISKS] = {};
    FileEntry *DiskFirstEntry[MAX_DISKS + 1] = {};
    char DirectorySlots[DIRECTORY_SLOTS][256] = {};
    HGLOBAL FileTableHandle = 0;
    BYTE *FileTableBase = 0;
    FileCheck *FileChecks = 0;              /* one per file record, in the table's order */
    char Title[256] = "";
    char Mfg[40] = "";
    char MouseDriver[40] = "";
    char MouseInf[40] = "";
    char DriverDate[40] = "";
    char PS2InfSection[40] = "";
    char SerialInfSection[40] = "";
    char PS2Name[40] = "";
    char SeialName[40] = "";
    char PnpID[10] = "";

    /* Loaded and kept: the disks' labels name them in the copy's questions, the rest
       only the package checker shows */
    char GroupName[20] = "";
    char GroupTitle[48] = "";
    char FileName[256] = "";
    char DiskLabels[MAX_DISKS][40] = {};
    short GroupItemCount = 0;
    short TotalFiles = 0;

    /* Run-time state */
    char InstallDir[256] = "";              /* the destination; TakeDestination writes it */
    int RecordBesideProgram = 0;            /* no installation: the record goes into the
                                               SETUP.INF in SetupDir (prior_values.h) */
    short LastPageResult = PAGE_CANCEL;
    int RebootChoice = 1;
    int MouseBackEnabled = 1;
    int DissolvePending = 1;
    HWND BackdropWindow = 0;
    char MouseTypeName[40] = "";
    char BrowseBuffer[256] = "";

    /* The first thing this run could not do, and how many (failure_note.h) */
    short Failures = 0;
    unsigned int FailureText = 0;
    unsigned long FailureError = 0;         /* the platform's error number */
    char FailureName[256] = "";
    char FailureOther[256] = "";
};

extern SETUPSTATE SetupState;

/* Text from the string table in one of four rotating 256-byte buffers; null for an unknown id. */
char *ResourceText(unsigned int id);

#endif
