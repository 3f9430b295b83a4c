#!/usr/bin/env bash
# Includes run one way: app/ uses joblist/ and convert/, these use util/, and
# all of them reach the platform through platform/'s ports only. Prints each
# include that runs the other way and fails when there is one.
#   check_layers.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2
status=0
# A layer and the folders its files must not include.
check() {
  local layer=$1
  shift
  local pattern
  pattern=$(printf '|%s/' "$@")
  pattern="^#include \"(${pattern:1})"
  while IFS= read -r hit; do
    echo "layers: $hit"
    status=1
  done < <(grep -EnH "$pattern" "$layer"/*.h "$layer"/*.cpp 2>/dev/null)
  # The portable layers never see Windows.
  if [ "$layer" != win32 ]; then
    while IFS= read -r hit; do
      echo "layers: $hit"
      status=1
    done < <(grep -EinH '^#include <windows\.h>' "$layer"/*.h "$layer"/*.cpp 2>/dev/null)
  fi
}
check platform app joblist convert util win32 tools tests
check util app joblist convert win32 tools tests
check joblist app convert win32 tools tests
check convert app joblist win32 tools tests
check app win32 tools tests
[ $status -eq 0 ] && echo "layers: every include runs downwards"
exit $status
