#!/usr/bin/env bash
# Runs one Windows test exe in the prefix of the ctest run and returns its exit code.
#
#   runner.sh PREFIX EXE [ARGS...]
#
# cmake/win32.cmake makes this the cross-compiling emulator, so every add_test
# of a Windows exe comes here. For NAME.exe, a NAME.sh beside this script is
# sourced first with the prefix's environment set, so it can call the helpers
# of prefix.sh (add_cdrom_drive, remove_drive); if it defines a function
# after_test, that runs once the exe has ended.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=prefix.sh
source "$here/prefix.sh"

if (($# < 2)); then
    echo "usage: $0 PREFIX EXE [ARGS...]" >&2
    exit 2
fi
prefix=$1
exe=$2
shift 2
hook=$here/$(basename "$exe" .exe).sh

if [[ ! -d $prefix/drive_c || ! -r $prefix/xvfb.display ]]; then
    echo "runner.sh: no prefix at $prefix; the wine_prefix_create test makes it" >&2
    exit 1
fi
wine_use_prefix "$prefix"

if [[ -f $hook ]]; then
    # shellcheck disable=SC1090
    source "$hook" || {
        echo "runner.sh: $hook failed" >&2
        exit 1
    }
fi

# Below ctest's own timeout, so that a hung exe is ended here and the prefix
# is cleaned for the tests after it.
timeout --kill-after=10 "${VELMORA_WINE_TEST_TIMEOUT:-540}" wine "$exe" "$@"
status=$?
if ((status == 124 || status == 137)); then
    echo "runner.sh: $exe timed out" >&2
    restart_wineserver
fi

if declare -F after_test >/dev/null; then
    after_test
fi
exit "$status"
