# Sourced by the scripts that run a test under Wine: sets WINEPREFIX to the
# test's prefix. make test runs the Windows tests in several prefixes at once
# (scripts/run-tests): build/wine-prefix, build/wine-prefix-2, ... ctest hands
# them out as resources "prefixes" with the ids p1, p2, ... (ids allow no
# "-") and names the test's in CTEST_RESOURCE_GROUP_0_PREFIXES as
# "id:p2,slots:1". Without one, the prefix is $WINEPREFIX, or build/wine-prefix.
test_prefix_root=$(cd "$(dirname "$0")/.." && pwd)
case ${CTEST_RESOURCE_GROUP_0_PREFIXES:-} in
  id:p1,*) export WINEPREFIX="$test_prefix_root/build/wine-prefix" ;;
  id:p*)
    test_prefix_number=${CTEST_RESOURCE_GROUP_0_PREFIXES#id:p}
    export WINEPREFIX="$test_prefix_root/build/wine-prefix-${test_prefix_number%%,*}"
    ;;
esac
export WINEPREFIX="${WINEPREFIX:-$test_prefix_root/build/wine-prefix}"
