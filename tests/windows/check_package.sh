#!/usr/bin/env bash
# Usage: check_package.sh CMAKE CPACK CPACK_CONFIG PACKAGE_NAME BUILT_EXE SOURCE_DIR
# Makes the release ZIP into a temporary folder, as `make package` does, and
# fails unless it holds exactly the program folder users get, each file as
# built or as checked in, with a READ-ME.txt that Notepad shows line by line.
set -euo pipefail
cmake=$1 cpack=$2 config=$3 name=$4 built_exe=$5 source=$6

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

if ! "$cpack" --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack failed"
  exit 1
fi
zip="$work/out/$name.zip"
[ -f "$zip" ] || { ls "$work/out"; echo "FAIL: no $name.zip"; exit 1; }
made=$(cd "$work/out" && ls -- *.zip)
[ "$made" = "$name.zip" ] || fail "cpack made other packages too: $made"

# Exactly these entries, nothing else: no tests, no stand-ins, no libraries.
expected=$(sort <<LIST
$name/pellacore.exe
$name/HAND-M.CUR
$name/drag.ico
$name/READ-ME.txt
$name/Samples/
$name/Samples/floor-plan.dxf
$name/Samples/flange.dxf
$name/Samples/title-block.dxf
LIST
)
listed=$("$cmake" -E tar tf "$zip" | sort)
if [ "$listed" != "$expected" ]; then
  fail "the ZIP's entries differ from the program folder (< expected, > in the ZIP):"
  diff <(echo "$expected") <(echo "$listed") || true
fi

mkdir "$work/unzipped"
(cd "$work/unzipped" && "$cmake" -E tar xf "$zip")
folder="$work/unzipped/$name"

# Each file is the one built or checked in, not a stale copy.
same() { cmp -s "$1" "$2" || fail "$(basename "$2") in the ZIP is not $1"; }
same "$built_exe" "$folder/pellacore.exe"
same "$source/win32/res/HAND-M.CUR" "$folder/HAND-M.CUR"
same "$source/win32/res/drag.ico" "$folder/drag.ico"
for drawing in floor-plan.dxf flange.dxf title-block.dxf; do
  same "$source/Samples/$drawing" "$folder/Samples/$drawing"
done

readme="$folder/READ-ME.txt"
[ -f "$readme" ] || { echo "FAIL: no READ-ME.txt"; exit 1; }
# CRLF throughout: every line feed follows a carriage return, the last line too.
lines=$(tr -cd '\n' <"$readme" | wc -c)
crlf=$(grep -c $'\r$' "$readme" || true)
[ "$lines" -gt 0 ] && [ "$lines" -eq "$crlf" ] || fail "READ-ME.txt: $crlf of $lines lines end in CRLF"
[ "$(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "READ-ME.txt: the last line has no CRLF"
grep -q $'\r.' "$readme" && fail "READ-ME.txt: a carriage return inside a line"
LC_ALL=C grep -q '[^ -~'$'\r\t'']' "$readme" && fail "READ-ME.txt: a character outside printable ASCII"

# The printer and its set-up steps, word for word as the program's start-up
# box shows them (convert/prerequisite_checks.cpp).
support=$(sed -n 's/.*kSupportAddress = L"\([^"]*\)".*/\1/p' "$source/util/product.h")
[ -n "$support" ] || fail "no support address in util/product.h"
text=$(tr -d '\r' <"$readme")
while IFS= read -r wanted; do
  grep -qF -- "$wanted" <<<"$text" || fail "READ-ME.txt lacks: $wanted"
done <<WANTED
Kelvandor PDF Writer
CPW2:
1) Go to Control Panel -> Printers and Faxes to add a local printer.
2) Choose ''CPW2: (Kelvandor PDF Writer)'' on Select a Printer Port dialog box, click Next.
3) Choose a Postscript printer (e.g. HP Color LaserJet PS), click Next.
4) Enter Kelvandor PDF Writer as Printer name, click Next -> Finish.
AutoCAD.Application
HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Kelvandor\Pellacore
x\o.cjs
$support
WANTED
# Each step stands on a line of its own, as the box shows it.
for step in 1 2 3 4; do
  grep -qE "^ *$step\) " <<<"$text" || fail "READ-ME.txt: step $step does not start a line"
done

[ $status -eq 0 ] && echo "ok: $name.zip holds the program folder and nothing else"
exit $status
