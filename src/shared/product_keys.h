/* The registry names of the mouse application and the mouse device: SETUP.EXE writes
   them, UNINSTAL.EXE removes them. */
#ifndef PRODUCT_KEYS_H
#define PRODUCT_KEYS_H

/* Window title and Run value name of the mouse application. */
#define MOUSE_APP_TITLE "ZennoMouse"

/* Under HKEY_CLASSES_ROOT: the Mouse control panel's property page. */
#define PAGE_CLSID "{7A3C91D2-5E48-11d2-9C6D-2B81E4F0A537}"
#define PAGE_CLSID_KEY "CLSID\\" PAGE_CLSID

/* Under HKEY_LOCAL_MACHINE. */
#define CURRENT_VERSION "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"
#define CONTROLS_MOUSE CURRENT_VERSION "\\Controls Folder\\Mouse"
#define PAGE_HANDLER_NAME "KXMousePage"
#define HANDLERS_KEY CONTROLS_MOUSE "\\shellex\\PropertySheetHandlers"
#define RUN_KEY CURRENT_VERSION "\\Run"
#define UNINSTALL_KEY CURRENT_VERSION "\\Uninstall\\" MOUSE_APP_TITLE
#define CLASS_ROOT "System\\CurrentControlSet\\Services\\Class\\"
#define OWN_NODE_PARENT "Enum\\Root\\OrvelMouse"
#define OWN_NODE OWN_NODE_PARENT "\\0000"

#endif
