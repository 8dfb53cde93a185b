// W9X.DLL: the answers Windows 95/98 give where Wine gives Windows NT's, for the
// programs whose imports tests/win98/patch_imports.cpp points at it. Its hooks are
// named W9X_ followed by the function they stand for; every other function the
// programs import is forwarded to the DLL they named (make-def.sh writes the table).
// It is steered by files in the rig's directory (W9X_RIG, default C:\W9XRIG):
//   NOTREADY.A, NOTREADY.B   the drive has no disk in it
//   BIAS                     the time-zone bias in force, in minutes (absent: 0)
//   W9X.LOG                  what the programs met that Windows 95/98 would not let
//                            pass: a critical-error box shown, a closed key used
#ifndef W9X_H
#define W9X_H

#include <windows.h>

// The path of a file of the rig's directory, in MAX_PATH bytes.
void RigFile(const char *name, char *path);
// A line of W9X.LOG: the program, what happened and to what.
void Tell(const char *what, const char *detail);
// 1 when path lies on a drive the rig has marked not ready: the last error is then
// ERROR_NOT_READY, and unless the program set SEM_FAILCRITICALERRORS the system's own
// box counts as shown (told). call names the function for the log.
int DriveNotReady(const char *call, const char *path);
// The bias in force, in 100 ns steps (UTC = local time + bias).
LONGLONG BiasSteps(void);
// The profile cache written to its file and let go, at the program's end.
void EndProfileCache(void);
// Bounded copies and appends, always terminated.
void Copy(char *to, int size, const char *from);
void Append(char *to, int size, const char *from);

#endif
