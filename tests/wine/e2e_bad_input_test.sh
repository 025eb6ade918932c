# Sourced by runner.sh before e2e_bad_input_test.exe: two CD-ROM drives that
# look like the install disc but are not. e: is labelled "velmora", the right
# label in the wrong case, and holds Velmora\Velmora.exe; f: is a CD-ROM whose
# folder is missing, so that its label cannot be read (an empty drive).
# One wineserver restart serves both; after_test takes them away again.
e2e_bad_disc=$(cd "$WINEPREFIX/.." && pwd)/e2e-bad-input-disc
e2e_bad_empty=$(cd "$WINEPREFIX/.." && pwd)/e2e-bad-input-empty-drive

_e2e_bad_make_drives() {
    rm -rf "$e2e_bad_disc" "$e2e_bad_empty"
    mkdir -p "$e2e_bad_disc/Velmora" || return 1
    printf 'disc Velmora.exe\n' >"$e2e_bad_disc/Velmora/Velmora.exe" || return 1
    VELMORA_DEFER_RESTART=1 add_cdrom_drive e "$e2e_bad_disc" velmora || return 1
    ln -sfn "$e2e_bad_empty" "$WINEPREFIX/dosdevices/f:" || return 1
    wine reg add 'HKLM\Software\Wine\Drives' /v f: /t REG_SZ /d cdrom /f >/dev/null || return 1
    restart_wineserver
}

_e2e_bad_make_drives || return 1

after_test() {
    VELMORA_DEFER_RESTART=1 remove_drive e
    VELMORA_DEFER_RESTART=1 remove_drive f
    restart_wineserver
    rm -rf "$e2e_bad_disc" "$e2e_bad_empty"
}
