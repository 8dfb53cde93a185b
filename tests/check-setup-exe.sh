#!/bin/sh
# Checks that a program of the package (SETUP.EXE, UNINSTAL.EXE) is one Windows 95 can
# load on any processor it runs on: PE32 i386 GUI, subsystem and OS version 4.0,
# imports only from the DLLs Windows 95 ships, ANSI functions only, our own entry
# point, no instruction beyond the i486, and no bigger than its budget.
#   check-setup-exe.sh FILE [BUDGET_BYTES]   (default budget 128 KiB)
exe=$1
budget=${2:-131072}
name=$(basename "$exe")
objdump=i686-w64-mingw32-objdump
fail=0
bad() { echo "FAIL: $*"; fail=1; }

head=$($objdump -p "$exe") || { echo "FAIL: objdump cannot read $exe"; exit 1; }
echo "$head" | grep -q 'file format pei-i386' || bad "not a PE32 i386 file"
echo "$head" | grep -qE '^Subsystem[[:space:]]+00000002' || bad "not the GUI subsystem"
for f in MajorOSystemVersion MajorSubsystemVersion; do
  echo "$head" | grep -qE "^$f[[:space:]]+4\$" || bad "$f is not 4"
done
for f in MinorOSystemVersion MinorSubsystemVersion; do
  echo "$head" | grep -qE "^$f[[:space:]]+0\$" || bad "$f is not 0"
done

dlls=$(echo "$head" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr a-z A-Z | sort -u)
[ -n "$dlls" ] || bad "no import table found"
for d in $dlls; do
  case $d in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL|COMDLG32.DLL|LZ32.DLL|CRTDLL.DLL) ;;
    *) bad "imports from $d" ;;
  esac
done
# Import rows look like "  <hint>  <name>"; a name ending in W after a lower-case
# letter or digit is a wide-character function.
wide=$(echo "$head" | awk '/DLL Name:/{inimp=1} inimp && NF==3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}' |
       grep -E '[a-z0-9]W$')
[ -z "$wide" ] || bad "wide-character imports: $wide"

# Windows 95's KERNEL32 has no LZ functions: they must come from LZ32.
lzk=$(echo "$head" | awk '/DLL Name:/{dll=toupper($3)} NF==3 && $2 ~ /^[0-9]+$/ {print dll, $3}' |
      grep -E '^KERNEL32.DLL LZ')
[ -z "$lzk" ] || bad "LZ functions imported from KERNEL32: $lzk"

# Functions Windows 95 (4.00.950) lacks, or has only as a stub that fails with
# ERROR_CALL_NOT_IMPLEMENTED, each with where that is said: a program importing one
# does not load there, or fails at the call.
missing95="
MoveFileExA          KB Q129532: Windows 95 does not implement MoveFileEx
MoveFileWithProgressA Microsoft's page: Windows NT only
GetDiskFreeSpaceExA  KB Q231497: from Windows 95 OSR2 on
GetFileAttributesExA Microsoft's page: from Windows 98 on
GetLongPathNameA     Wine's kernel32 path.c: only supported on Win2k+ and Win98+
IsDebuggerPresent    Microsoft's page: from Windows 98 on
CopyFileExA          Microsoft's page: Windows NT only
FindFirstFileExA     Microsoft's page: Windows NT only; Wine's file.c skips it as missing
GetFileSizeEx        Microsoft's page: from Windows 2000 on
SetFilePointerEx     Microsoft's page: from Windows 2000 on
ReplaceFileA         Microsoft's page: from Windows 2000 on; Wine's file.c skips it as missing
CreateHardLinkA      Microsoft's page: from Windows 2000 on
GetVolumePathNameA   Microsoft's page: from Windows 2000 on
GlobalMemoryStatusEx Microsoft's page: from Windows 2000 on
LockFileEx           Microsoft's page: Windows NT only (a stub on Windows 95/98)
CreateWaitableTimerA Microsoft's page: from Windows 98 on
OpenThread           Microsoft's page: from Windows ME on
SystemTimeToTzSpecificLocalTime Microsoft's page: Windows NT only; Wine's time.c skips it as missing
RegDeleteKeyExA      Microsoft's page: from Windows XP x64 on
RegGetValueA         Microsoft's page: from Windows Server 2003 on
RegOpenCurrentUser   Microsoft's page: from Windows 2000 on
"
imports=$(echo "$head" | awk '/DLL Name:/{inimp=1} inimp && NF==3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}')
echo "$missing95" | while read -r f why; do
  [ -n "$f" ] && echo "$imports" | grep -qx "$f" && echo "FAIL: imports $f, which Windows 95 lacks ($why)"
done | grep . && fail=1

# MinGW's start-up code would import these from the C runtime.
crt=$(echo "$head" | grep -oE '\b(__getmainargs|__set_app_type|_initterm|__p__fmode|_cexit|__dllonexit)\b' | sort -u)
[ -z "$crt" ] || bad "C runtime start-up code linked in: $crt"
# Without start-up code no static constructor would ever run.
ctors=$($objdump -h "$exe" | grep -oE '\.(ctors|init_array|CRT)\b' | sort -u)
[ -z "$ctors" ] || bad "static constructors that nothing would run: $ctors"
entry=$($objdump -f "$exe" | sed -n 's/^start address 0x//p')
$objdump -d "$exe" > /tmp/setup-disasm.$$ || bad "cannot disassemble"
newer=$(grep -E '\s(cmov[a-z]*|fcmov[a-z]*|f(u)?comip?|cpuid|rdtsc|rdpmc|sysenter|syscall|cmpxchg8b|ud2|emms|movq|movd|prefetch[a-z0-9]*|pause)\s|%mm[0-7]|%xmm[0-9]|%ymm' /tmp/setup-disasm.$$ | head -5)
rm -f /tmp/setup-disasm.$$
[ -z "$newer" ] || bad "instructions beyond the i486: $newer"

size=$(stat -c %s "$exe")
[ "$size" -le "$budget" ] || bad "$name is $size bytes, over the budget of $budget bytes"

[ $fail -eq 0 ] && echo "$name: PE32 GUI 4.0, $(echo $dlls | wc -w) DLLs, $size bytes, entry 0x$entry, i486 code only"
exit $fail
