/* String-table ids both programs use: the setup script's section and key names and
   the texts around them, ids 1 to 54, and the one failure both programs tell. */
#ifndef SHARED_STRINGS_H
#define SHARED_STRINGS_H

#define IDS_DISKLABEL          1
#define IDS_DIRECTORYNAME      2
#define IDS_FILECOUNTS         3
#define IDS_DISK1              4     /* 4 to 9: Disk1 to Disk6 */
#define IDS_ROOTDIR            10    /* 10 to 19: the ten directory keys */
#define IDS_READERROR          20
#define IDS_MAIN               22
#define IDS_DEFAULTPATH        23
#define IDS_DEFAULTINI         24
#define IDS_MINIMUMSPACE       25
#define IDS_GROUPNAME          26
#define IDS_GROUPTITLE         27
#define IDS_NOTCOMPLETED       28
#define IDS_SETUPPROGRAM       29
#define IDS_PRODUCTNAME        30
#define IDS_DIREXISTS          32
#define IDS_CANNOTCREATE       33
#define IDS_NOSPACE            34
#define IDS_INSERTDISK         35
#define IDS_COPYING            36
#define IDS_READING            37
#define IDS_WRITING            38
#define IDS_GROUPFAILED        39
#define IDS_PMINFO             40
#define IDS_STARTUP            41
#define IDS_FILENAME           42
#define IDS_TITLE              43
#define IDS_WRONGPLATFORM      44
#define IDS_MFG                45
#define IDS_MOUSEDRIVER        46
#define IDS_MOUSEINF           47
#define IDS_DRIVERDATE         48
#define IDS_PS2INFSECTION      49
#define IDS_SERIALINFSECTION   50
#define IDS_PS2NAME            51
#define IDS_SEIALNAME          52
#define IDS_DRIVERDONE         53
#define IDS_OTHERMOUSE         54

/* Past the script's texts: what either program can fail to read. */
#define IDS_CANNOTREAD         83
#define IDS_CANNOTREADKEY      84
#define IDS_CANNOTCHANGEFILE   65    /* system.ini, VMOUSE.VXD: either way */

#endif
