/* The mouse application's entries, each only while it names this directory. */
#ifndef PRODUCT_REMOVAL_H
#define PRODUCT_REMOVAL_H

/* 1 and *own 1 when the uninstall entry runs this directory's UNINSTAL.EXE; 0, noted,
   when the entry cannot be read. */
int OwnUninstallEntry(int *own);

/* The uninstall entry, when it names this directory; 1, or 0 noted. */
int RemoveUninstallEntry(void);

/* For an installation made before the install log: 1 when nothing failed, else 0,
   noted. */
int FindRegisteredInstallation(void);   /* sets OwnsSharedState */
int RemoveProductRegistration(void);    /* the page handler and Run value naming this directory */

#endif
