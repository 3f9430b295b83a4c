#!/bin/sh
# Runs a Windows test program with what only the Unix side can make: a tree
# whose symbolic links lead back up it (Wine's CreateSymbolicLinkW answers
# success and makes nothing), and a drive letter of the test's prefix mapped
# to a folder of its own (DefineDosDeviceW's letters do not reach files).
# The program learns both from the environment:
#   PELLACORE_LINKED_TREE   the tree: loop\A\up and loop\B\up lead to loop
#   PELLACORE_SCRATCH_DRIVE the letter, like "M:", whose root is empty
# Usage: unix_links.sh PROGRAM [ARGS...]
set -eu
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
# The test's prefix, as the scripts beside test-prefix.sh find it.
WINEPREFIX=$("$scripts/in-test-prefix" sh -c 'printf %s "$WINEPREFIX"')
export WINEPREFIX
letter=
for candidate in m n o p q r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$candidate:" ] && [ ! -L "$WINEPREFIX/dosdevices/$candidate:" ]; then
    letter=$candidate
    break
  fi
done
[ -n "$letter" ] || { echo "unix_links.sh: no free drive letter in $WINEPREFIX" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/pellacore-links.XXXXXX")
# rm -rf does not follow the links; the drive letter goes first.
trap 'rm -f "$WINEPREFIX/dosdevices/$letter:"; rm -rf "$work"' EXIT
trap 'exit 143' INT TERM
mkdir -p "$work/loop/A" "$work/loop/B" "$work/root"
ln -s .. "$work/loop/A/up"
ln -s .. "$work/loop/B/up"
ln -s "$work/root" "$WINEPREFIX/dosdevices/$letter:"
PELLACORE_LINKED_TREE="Z:$(printf '%s' "$work/loop" | tr / '\\')" \
PELLACORE_SCRATCH_DRIVE="$(printf '%s' "$letter" | tr a-z A-Z):" \
  "$scripts/wine-run" "$@"
