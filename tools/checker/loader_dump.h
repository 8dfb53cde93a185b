/* What the script loader has loaded into SetupState and the file table, as text: the
   package checker shows it, and a Windows-side test holds SETUP.EXE's own load of the
   same scripts against the checker's. */
#ifndef LOADER_DUMP_H
#define LOADER_DUMP_H

#include <string>

/* loaded is what the load returned; without a load only the values read before the
   file table are shown. */
std::string DumpLoadedScript(int loaded);

#endif
