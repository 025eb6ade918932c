# Sourced by runner.sh before e2e_interrupted_update_test.exe: the big new
# versions of the update folder beside the program (the folders of
# tests/wine/e2e/update_scene.h), written here because the driver would take
# minutes for them under emulation. Random bytes, so that a block copied to
# the wrong offset shows. after_test takes both folders away again.
e2e_interrupted_root=$WINEPREFIX/drive_c/velmora-e2e
e2e_interrupted_install=$WINEPREFIX/drive_c/Games/Quillane/Velmora

# Name and size in MiB; the driver knows the same names.
e2e_interrupted_big=(grd.pac:100 se.pac:100 srp_5.pac:48)

_e2e_interrupted_stage() {
    local entry name mib folder=$e2e_interrupted_root/program/Velmora
    rm -rf "$e2e_interrupted_root" "$e2e_interrupted_install"
    mkdir -p "$folder" || return 1
    for entry in "${e2e_interrupted_big[@]}"; do
        name=${entry%%:*}
        mib=${entry##*:}
        head -c $((mib * 1024 * 1024)) /dev/urandom >"$folder/$name" || return 1
    done
}

_e2e_interrupted_stage || return 1

after_test() {
    rm -rf "$e2e_interrupted_root" "$e2e_interrupted_install"
}
