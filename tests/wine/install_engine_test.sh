#!/usr/bin/env bash
# install_engine_test in two prefixes.
#
# Sourced by runner.sh before install_engine_test.exe runs in the 32-bit
# prefix of the ctest run: there the test expects no WOW64.
#
#   install_engine_test.sh wow64 PREFIX EXE
#
# runs EXE once more in a fresh 64-bit prefix at PREFIX, with an Xvfb display
# of its own, where the 32-bit program runs under WOW64 (the test is told so
# by VELMORA_EXPECT_WOW64=1). The prefix's wineserver and display are stopped
# afterwards; the prefix stays for inspection until the next run.

if [[ ${BASH_SOURCE[0]} != "$0" ]]; then
    unset VELMORA_EXPECT_WOW64
    return 0
fi

set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=prefix.sh
source "$here/prefix.sh"

if (($# != 3)) || [[ $1 != wow64 ]]; then
    echo "usage: $0 wow64 PREFIX EXE" >&2
    exit 2
fi
dir=$2
exe=$3
case $dir in
    "" | / | "$HOME" | "$HOME/.wine")
        echo "install_engine_test.sh: refusing prefix '$dir'" >&2
        exit 1
        ;;
esac

use_wow64_prefix() {
    wine_use_prefix "$dir"
    export WINEARCH=win64
}

stop_wow64_prefix() {
    use_wow64_prefix
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    _stop_xvfb "$dir"
}

[[ -d $dir ]] && stop_wow64_prefix  # what an interrupted run left behind
rm -rf "$dir"
mkdir -p "$dir" || exit 1
dir=$(cd "$dir" && pwd)
_start_xvfb "$dir" || exit 1
use_wow64_prefix

started=$SECONDS
if ! wineboot -i </dev/null >"$dir/wineboot.log" 2>&1; then
    echo "install_engine_test.sh: wineboot -i failed:" >&2
    cat "$dir/wineboot.log" >&2
    stop_wow64_prefix
    exit 1
fi
wineserver -w
echo "64-bit prefix ready in $((SECONDS - started)) s"

started=$SECONDS
VELMORA_EXPECT_WOW64=1 timeout --kill-after=10 "${VELMORA_WINE_TEST_TIMEOUT:-480}" wine "$exe"
status=$?
echo "test under WOW64 ran $((SECONDS - started)) s"
stop_wow64_prefix
exit "$status"
