#!/usr/bin/env bash
# Usage: check_installer.sh CMAKE CPACK CPACK_CONFIG PACKAGE_NAME SETUP_NAME MAKE_SETUP NSIS_SCRIPT
#                           INSTALLER_TESTS WINE_RUN
# Makes the release as `make package` does (the ZIP and the setup program),
# and, with MAKE_SETUP (packaging/make-setup.cmake) and NSIS_SCRIPT, the
# setup of an earlier release that shipped one more sample; then runs
# INSTALLER_TESTS under Wine in the test's prefix (WINE_RUN picks it), naming
# the two setup programs and the program folder unpacked from the ZIP in the
# environment. The prefix must hold the stand-ins (the tests run the
# installed program).
set -euo pipefail
cmake=$1 cpack=$2 config=$3 package=$4 setup=$5 make_setup=$6 nsis_script=$7 tests=$8 wine_run=$9

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

# The earlier release: the same folder with a sample since dropped.
mkdir "$work/earlier"
cp -r "$work/unzipped/$package" "$work/earlier/"
echo "0" >"$work/earlier/$package/Samples/retired.dxf"
(cd "$work/earlier" && "$cmake" -E tar cf earlier.zip --format=zip "$package")
if ! "$cmake" -DCPACK_PACKAGE_FILES="$work/earlier/earlier.zip" -DCPACK_PACKAGE_FILE_NAME="$package" \
      -DCPACK_PACKAGE_DIRECTORY="$work/earlier" -DCPACK_PELLACORE_NSIS_SCRIPT="$nsis_script" \
      -DCPACK_PELLACORE_SETUP_NAME=earlier-setup -P "$make_setup" >"$work/earlier.log" 2>&1; then
  cat "$work/earlier.log"
  echo "FAIL: the earlier setup could not be made"
  exit 1
fi

# Linux paths as Wine sees them: drive Z: is the root.
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
export PELLACORE_SETUP_EXE
export PELLACORE_RELEASE_FOLDER
export PELLACORE_EARLIER_SETUP_EXE
PELLACORE_EARLIER_SETUP_EXE=$(windows_path "$work/earlier/earlier-setup.exe")
PELLACORE_SETUP_EXE=$(windows_path "$work/out/$setup.exe")
PELLACORE_RELEASE_FOLDER=$(windows_path "$work/unzipped/$package/")
"$wine_run" "$tests"
