#!/usr/bin/env bash
# Installs what the builds and tests need, once; quick when all is there.
# Debian 12, as root (or through sudo).
set -euo pipefail

packages=(
    cmake g++ googletest libgtest-dev
    g++-mingw-w64-i686
    wine wine32:i386 wine64
    xvfb locales fonts-ipafont-gothic x11-utils xdotool imagemagick
    clang libclang-rt-14-dev
)

as_root() {
    if ((EUID == 0)); then
        "$@"
    else
        sudo "$@"
    fi
}

installed() {
    [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) == "ii"* ]]
}

# apt waits for the dpkg lock by itself; the lists lock of an update it does
# not wait for, so retry while another apt holds it.
apt_get() {
    local attempt log
    log=$(mktemp)
    for ((attempt = 0; attempt < 60; attempt++)); do
        if as_root env DEBIAN_FRONTEND=noninteractive \
            apt-get -y -q -o DPkg::Lock::Timeout=600 "$@" 2>"$log"; then
            rm -f "$log"
            return 0
        fi
        if ! grep -q 'Could not get lock' "$log"; then
            cat "$log" >&2
            rm -f "$log"
            return 1
        fi
        echo "ensure-deps: apt is busy, waiting" >&2
        sleep 10
    done
    cat "$log" >&2
    rm -f "$log"
    return 1
}

updated=0
apt_update_once() {
    ((updated)) || apt_get update
    updated=1
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "ensure-deps: installing ${missing[*]}"
    apt_update_once
    apt_get install "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "ensure-deps: generating ja_JP.UTF-8"
    if grep -q '^# *ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
        as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
fi

# 32-bit x86 programs, Wine among them, need the kernel's IA-32 emulation.
# Where it is off (some virtual machines), they run under qemu's user-mode
# emulator through binfmt_misc. qemu before 8 ignores MAP_FIXED_NOREPLACE,
# which Wine relies on, so Debian 12 takes qemu from bookworm-backports.
i386_runs() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

qemu_major() {
    qemu-i386 --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p'
}

binfmt=/proc/sys/fs/binfmt_misc

ensure_i386_emulation() {
    local major fresh=0
    major=$(qemu_major)
    if ((${major:-0} < 8)); then
        local list=/etc/apt/sources.list.d/bookworm-backports.sources
        if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d; then
            printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' \
                'Suites: bookworm-backports' 'Components: main' \
                'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
                as_root tee "$list" >/dev/null
            updated=0
        fi
        echo "ensure-deps: installing qemu-user from bookworm-backports"
        apt_update_once
        apt_get install --no-install-recommends -t bookworm-backports qemu-user
        fresh=1
    fi
    [[ -e $binfmt/register ]] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
    local qemu
    qemu=$(command -v qemu-i386)
    # The kernel holds the emulator it was given: register a new one afresh.
    if [[ -e $binfmt/qemu-i386 ]]; then
        if ((fresh)) || ! grep -qx "interpreter $qemu" "$binfmt/qemu-i386"; then
            echo -1 | as_root tee "$binfmt/qemu-i386" >/dev/null
        fi
    fi
    if [[ ! -e $binfmt/qemu-i386 ]]; then
        # i386 ELF executables and shared objects; F: the kernel keeps the
        # emulator open, so it works in any mount namespace.
        local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::$magic:$mask:$qemu:F" | as_root tee "$binfmt/register" >/dev/null
    fi
}

if [[ -e $binfmt/qemu-i386 ]] || ! i386_runs; then
    ensure_i386_emulation
    i386_runs || {
        echo "ensure-deps: 32-bit programs still do not run" >&2
        exit 1
    }
fi
