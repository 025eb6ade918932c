#!/usr/bin/env bash
# Sourced by scripts/demo: a throwaway Wine prefix for one demonstration,
# shown on the caller's display when there is one, else on an Xvfb of its own.
#
#   demo_display_reachable            true if $DISPLAY names a display that answers
#   demo_prefix_create DIR on|xvfb    a fresh 32-bit prefix in DIR, its wineserver running
#   demo_prefix_remove DIR            end its processes (and its Xvfb) and delete DIR

# shellcheck source-path=SCRIPTDIR source=../../tests/wine/prefix.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/wine/prefix.sh"

demo_display_reachable() {
    [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1
}

demo_prefix_create() {
    local dir=$1 where=$2
    if [[ $where == xvfb ]]; then
        prefix_create "$dir" >/dev/null || return 1
        wine_use_prefix "$dir"
        return 0
    fi
    rm -rf "$dir"
    mkdir -p "$dir" || return 1
    wine_use_prefix "$dir"
    if ! wineboot -i </dev/null >"$dir/wineboot.log" 2>&1; then
        cat "$dir/wineboot.log" >&2
        return 1
    fi
    wineserver -w
    start_persistent_wineserver
}

demo_prefix_remove() {
    local dir=$1
    [[ -d $dir ]] || return 0
    prefix_stop "$dir"
    rm -rf "$dir"
}
