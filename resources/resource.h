/* Resource ids of SETUP.EXE: dialog templates, controls, bitmaps, icons, texts. */
#ifndef SETUP_RESOURCE_H
#define SETUP_RESOURCE_H

/* Dialog templates */
#define IDD_WELCOME      101
#define IDD_FINISH       102
#define IDD_COPY         103
#define IDD_BROWSE       104
#define IDD_DESTINATION  107
#define IDD_MOUSETYPE    108

/* Standard commands of every page */
#define IDC_NEXT         1
#define IDC_CANCEL       2
#define IDC_BACK         3

/* Page controls */
#define IDC_DIRTEXT      1003   /* destination text, browser edit field */
#define IDC_FRAMELINE    1006
#define IDC_HIDDEN1009   1009
#define IDC_HIDDEN1010   1010
#define IDC_PROGRESS     1011
#define IDC_HIDDEN1012   1012
#define IDC_PERCENT      1013
#define IDC_HIDDEN1014   1014
#define IDC_DISKICON1    1015
#define IDC_DISKICON2    1016
#define IDC_DISKICON3    1017
#define IDC_DISKICON4    1018
#define IDC_STATUS       1019
#define IDC_PICTURE      1022
#define IDC_HEADLINE     1023
#define IDC_INTRO        1024
#define IDC_BROWSE       1025
#define IDC_REBOOTNOW    1032
#define IDC_REBOOTLATER  1033
#define IDC_SERIAL       1034
#define IDC_PS2          1035

/* Bitmaps */
#define IDB_PS2MOUSE     112
#define IDB_SERIALMOUSE  113
#define IDB_PAGEPICTURE  304
#define IDB_TITLEBANNER  306
#define IDB_CREDITLINE   307

/* Icons */
#define IDI_SETUP        200
#define IDI_DISK         201
#define IDI_DISKDONE     202

/* String table: ids 1 to 54 are shared with UNINSTAL.EXE; 60 to 70 are SETUP.EXE's own. */
#include "shared_strings.h"
#define IDS_CANNOTCREATEFILE   60    /* 60 on: what the copy could not do with a file */
#define IDS_CANNOTWRITEFILE    61
#define IDS_DAMAGEDSOURCE      62
#define IDS_CANNOTWRITEKEY     63    /* 63 on: what a step after the copy could not do */
#define IDS_CANNOTRECORD       64
#define IDS_CANNOTKEEPOLD      66
#define IDS_CANNOTSCHEDULE     67
#define IDS_OLDNOTBACK         68
#define IDS_CANNOTMAKEDIR      69
#define IDS_CHECKSUMDIFFERS    70    /* a file that differs from the script's checksum */

#endif
