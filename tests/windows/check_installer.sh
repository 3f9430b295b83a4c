#!/usr/bin/env bash
# Usage: check_installer.sh CMAKE CPACK CPACK_CONFIG PACKAGE_NAME SETUP_NAME INSTALLER_TESTS WINE_RUN
# Makes the release as `make package` does (the ZIP and the setup program),
# then runs INSTALLER_TESTS under Wine in the test's prefix (WINE_RUN picks
# it), naming the setup program and the program folder unpacked from the ZIP
# in the environment. The prefix must hold the stand-ins (the tests run the
# installed program).
set -euo pipefail
cmake=$1 cpack=$2 config=$3 package=$4 setup=$5 tests=$6 wine_run=$7

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$cpack" --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack failed"
  exit 1
fi
[ -f "$work/out/$setup.exe" ] || { ls "$work/out"; echo "FAIL: no $setup.exe"; exit 1; }
mkdir "$work/unzipped"
(cd "$work/unzipped" && "$cmake" -E tar xf "$work/out/$package.zip")

# Linux paths as Wine sees them: drive Z: is the root.
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
export PELLACORE_SETUP_EXE
export PELLACORE_RELEASE_FOLDER
PELLACORE_SETUP_EXE=$(windows_path "$work/out/$setup.exe")
PELLACORE_RELEASE_FOLDER=$(windows_path "$work/unzipped/$package/")
"$wine_run" "$tests"
