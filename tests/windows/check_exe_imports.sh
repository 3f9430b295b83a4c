#!/bin/sh
# Usage: check_exe_imports.sh OBJDUMP EXE
# Fails when EXE imports a DLL that Windows does not ship, or is no GUI program.
set -eu
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe")
echo "$headers" | grep -q 'Subsystem.*(Windows GUI)' || { echo "$exe: not a GUI program"; exit 1; }
status=0
for dll in $(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z'); do
  case "$dll" in
    kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll| \
    comctl32.dll|comdlg32.dll|winspool.drv|shlwapi.dll|uxtheme.dll|msvcrt.dll| \
    api-ms-win-crt-*|ucrtbase.dll) echo "ok: $dll" ;;
    *) echo "$exe needs $dll, which Windows does not ship"; status=1 ;;
  esac
done
exit $status
