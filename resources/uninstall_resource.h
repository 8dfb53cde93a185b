/* Resource ids of UNINSTAL.EXE: the shared texts (1 to 54), its own (70 to 89), its icon. */
#ifndef UNINSTALL_RESOURCE_H
#define UNINSTALL_RESOURCE_H

#include "shared_strings.h"

#define IDI_UNINSTALL              200

#define IDS_UNINSTALL              70   /* appended to ProductName and a blank: the caption */
#define IDS_NOTHINGINSTALLED       71
#define IDS_REMOVEQUESTION         72   /* appended to the package's title */
#define IDS_REMOVED                73   /* appended to the package's title */
#define IDS_NOTREMOVED             74   /* appended to the package's title */
#define IDS_CANNOTREMOVEKEY        75   /* 75 on: what could not be removed or put back */
#define IDS_CANNOTRESTOREKEY       76
#define IDS_NOMOUSELINE            78
#define IDS_CANNOTDELETE           79
#define IDS_CANNOTPUTBACK          80
#define IDS_RUNAGAIN               81   /* after the failure, in the closing question */
#define IDS_CANNOTREMOVEDIR        82

#endif
