# Sourced by runner.sh before e2e_setup_test.exe: the install disc as drive e:,
# a CD-ROM labelled "Velmora" with every name of the install list under
# Velmora\ and the manual at its root; where the screenshots go. after_test
# takes the drive and the disc's folder away again.
export VELMORA_E2E_SHOTS=${VELMORA_E2E_SHOTS:-$(cd "$WINEPREFIX/.." && pwd)/e2e-screenshots}
mkdir -p "$VELMORA_E2E_SHOTS"

e2e_setup_disc=$(cd "$WINEPREFIX/.." && pwd)/e2e-setup-disc
# The list as the program has it, entry 0 named after the game's executable.
e2e_setup_names=(Velmora.exe grd.pac vic.pac se.pac sse.pac mus.pac srp.pac ogg.dll
    vorbis.dll vorbisfile.dll readme.txt uninst.exe Agrd.pac Bgrd.pac Cgrd.pac Dgrd.pac
    Egrd.pac Fgrd.pac Ggrd.pac Hgrd.pac Setting.exe grd_2.pac vic_2.pac se_2.pac
    sse_2.pac mus_2.pac srp_2.pac debuglog.txt movie/ED.mpg)

# A file of `size` bytes that names itself, so that a mix-up shows.
_e2e_setup_file() {
    local path=$1 size=$2
    mkdir -p "$(dirname "$path")"
    yes "$(basename "$path")" | head -c "$size" >"$path"
}

_e2e_setup_make_disc() {
    local i name size
    rm -rf "$e2e_setup_disc"
    for ((i = 0; i < ${#e2e_setup_names[@]}; i++)); do
        name=${e2e_setup_names[i]}
        size=$((1000 + 997 * i))
        ((i % 4 == 2)) && size=$((300 * 1024 + i))  # a few of some hundred KiB
        # The second entry is big enough for the copy to be watched.
        ((i == 1)) && size=${VELMORA_E2E_BIG_FILE_BYTES:-$((1536 * 1024 * 1024))}
        _e2e_setup_file "$e2e_setup_disc/Velmora/$name" "$size"
    done
    mkdir -p "$e2e_setup_disc/manual"
    printf '<html><body>Velmora</body></html>\n' >"$e2e_setup_disc/manual/manual.html"
}

_e2e_setup_make_disc || return 1
add_cdrom_drive e "$e2e_setup_disc" Velmora || return 1

after_test() {
    remove_drive e
    rm -rf "$e2e_setup_disc"
}
