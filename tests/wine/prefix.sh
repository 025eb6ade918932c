#!/usr/bin/env bash
# The Wine side of ctest: one throwaway 32-bit prefix and one Xvfb display for
# a whole ctest run, and helpers that tests use before starting an exe.
#
#   prefix.sh create PREFIX   delete PREFIX, start Xvfb, make a fresh prefix,
#                             leave a persistent wineserver running
#   prefix.sh stop PREFIX     end the wineserver (and every Windows process
#                             of the prefix) and Xvfb; the prefix stays for
#                             inspection until the next create
#
# Sourced, it defines:
#   wine_use_prefix PREFIX              export the prefix's environment and DISPLAY
#   add_cdrom_drive LETTER FOLDER LABEL make LETTER: a CD-ROM showing FOLDER
#   remove_drive LETTER                 take LETTER: away again
#   restart_wineserver                  what a drive change needs, see below
#
# Drives need a wineserver restart. Wine's mount manager reads the dosdevices
# links, HKLM\Software\Wine\Drives and a drive's .windows-label only when it
# starts with the wineserver. Without the restart a new letter is a fixed
# disk (DRIVE_FIXED) whose GetVolumeInformationA fails, and a changed label
# keeps showing the old one. So the drive helpers end by restarting the
# wineserver (about 10 s under emulation). That ends every Windows process of
# the prefix: call them before starting the exe, never while one runs. With
# VELMORA_DEFER_RESTART=1 they skip it, so that several changes can share one
# restart_wineserver. A test that adds a drive removes it in its after_test.

VELMORA_XVFB_FIRST_DISPLAY=${VELMORA_XVFB_FIRST_DISPLAY:-97}

wine_use_prefix() {
    export WINEARCH=win32
    export WINEPREFIX=$1
    export WINEDEBUG=${VELMORA_WINEDEBUG:--all}
    # No menu entries on the host; no Mono or Gecko install dialogs, which
    # would wait forever on the invisible display.
    export WINEDLLOVERRIDES='winemenubuilder.exe=d;mscoree=d;mshtml=d'
    # A Japanese locale makes the ANSI code page 932.
    export LC_ALL=ja_JP.UTF-8
    if [[ -r $WINEPREFIX/xvfb.display ]]; then
        DISPLAY=$(<"$WINEPREFIX/xvfb.display")
        export DISPLAY
    fi
}

# The wineserver lingers with no Windows process left, so each exe starts in
# a second or two instead of booting the prefix's services again.
start_persistent_wineserver() {
    wineserver -p </dev/null >>"$WINEPREFIX/wineserver.log" 2>&1
    # Start the services now, detached from the caller's output.
    wine cmd.exe /c exit </dev/null >>"$WINEPREFIX/wineserver.log" 2>&1
}

restart_wineserver() {
    wineserver -k 2>/dev/null
    wineserver -w
    start_persistent_wineserver
}

_drives_changed() {
    [[ ${VELMORA_DEFER_RESTART:-0} == 1 ]] || restart_wineserver
}

_drive_letter() {
    local letter=${1%:}
    letter=${letter,,}
    if [[ ! $letter =~ ^[a-z]$ ]]; then
        echo "prefix.sh: not a drive letter: $1" >&2
        return 1
    fi
    printf '%s' "$letter"
}

add_cdrom_drive() {
    local letter folder=$2 label=$3
    letter=$(_drive_letter "$1") || return 1
    mkdir -p "$folder" || return 1
    folder=$(cd "$folder" && pwd)
    printf '%s\n' "$label" >"$folder/.windows-label" || return 1
    ln -sfn "$folder" "$WINEPREFIX/dosdevices/$letter:" || return 1
    wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /t REG_SZ /d cdrom /f \
        >/dev/null || return 1
    _drives_changed
}

remove_drive() {
    local letter
    letter=$(_drive_letter "$1") || return 1
    rm -f "$WINEPREFIX/dosdevices/$letter:" "$WINEPREFIX/dosdevices/$letter::"
    wine reg delete 'HKLM\Software\Wine\Drives' /v "$letter:" /f >/dev/null 2>&1
    _drives_changed
}

_display_free() {
    [[ ! -e /tmp/.X$1-lock && ! -e /tmp/.X11-unix/X$1 ]]
}

# Starts Xvfb on the first free display from VELMORA_XVFB_FIRST_DISPLAY on and
# records it in the prefix folder.
_start_xvfb() {
    local dir=$1 number pid tries
    for ((number = VELMORA_XVFB_FIRST_DISPLAY; number < VELMORA_XVFB_FIRST_DISPLAY + 50; number++)); do
        _display_free "$number" || continue
        setsid Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp \
            </dev/null >"$dir/xvfb.log" 2>&1 &
        pid=$!
        for ((tries = 0; tries < 100; tries++)); do
            if ! kill -0 "$pid" 2>/dev/null; then
                break  # lost a race for the number, or failed: try the next
            fi
            if xdpyinfo -display ":$number" >/dev/null 2>&1; then
                printf '%s\n' "$pid" >"$dir/xvfb.pid"
                printf ':%s\n' "$number" >"$dir/xvfb.display"
                return 0
            fi
            sleep 0.1
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    echo "prefix.sh: no Xvfb display could be started" >&2
    return 1
}

_stop_xvfb() {
    local dir=$1 pid
    [[ -r $dir/xvfb.pid ]] || return 0
    pid=$(<"$dir/xvfb.pid")
    # Only our own Xvfb: the number may have been reused since.
    if [[ $(cat "/proc/$pid/comm" 2>/dev/null) == Xvfb ]]; then
        kill "$pid"
        for ((tries = 0; tries < 50; tries++)); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -f "$dir/xvfb.pid" "$dir/xvfb.display"
}

prefix_stop() {
    local dir=$1
    if [[ -d $dir ]]; then
        wine_use_prefix "$dir"
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
    fi
    _stop_xvfb "$dir"
}

prefix_create() {
    local dir=$1 started=$SECONDS
    case $dir in
        "" | / | "$HOME" | "$HOME/.wine")
            echo "prefix.sh: refusing prefix '$dir'" >&2
            return 1
            ;;
    esac
    prefix_stop "$dir"  # what an interrupted run left behind
    rm -rf "$dir"
    mkdir -p "$dir" || return 1
    dir=$(cd "$dir" && pwd)
    _start_xvfb "$dir" || return 1
    wine_use_prefix "$dir"
    echo "prefix: $WINEPREFIX, display $DISPLAY"
    # The server and the services wineboot starts must not hold ctest's output open.
    if ! wineboot -i </dev/null >"$dir/wineboot.log" 2>&1; then
        echo "prefix.sh: wineboot -i failed:" >&2
        cat "$dir/wineboot.log" >&2
        return 1
    fi
    wineserver -w
    start_persistent_wineserver
    local acp
    acp=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null |
        tr -d '\r' | awk '$1 == "ACP" { print $3 }')
    echo "prefix ready in $((SECONDS - started)) s, ANSI code page ${acp:-unknown}"
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    case ${1:-} in
        create) prefix_create "${2:?prefix folder}" ;;
        stop) prefix_stop "${2:?prefix folder}" ;;
        *)
            echo "usage: $0 create|stop PREFIX" >&2
            exit 2
            ;;
    esac
fi
