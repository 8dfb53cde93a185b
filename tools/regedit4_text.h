// A registry key with its values and subkeys as REGEDIT4 text, values and subkeys in
// name order; values named in leaveOut are left out. Shared by the report tool and the
// tests.
#ifndef REGEDIT4_TEXT_H
#define REGEDIT4_TEXT_H

#include <windows.h>
#include <string>
#include <vector>

// "" when the key is not there.
std::string Regedit4Key(HKEY root, const std::string &path, const std::string &shownPath,
                        const std::vector<std::string> &leaveOut = {});
// "NAME"=DATA as REGEDIT4 writes one value.
std::string Regedit4Value(const char *name, DWORD type, const BYTE *data, DWORD size);

#endif
