# Two CD-ROM drives for engine_core_test: e: holds the install disc, f: a disc
# whose label differs only in letter case.
discs=$WINEPREFIX/../engine-core-discs
rm -rf "$discs"
mkdir -p "$discs/e/Velmora" "$discs/f/Velmora"
printf 'game' >"$discs/e/Velmora/Velmora.exe"
printf 'game' >"$discs/f/Velmora/Velmora.exe"
VELMORA_DEFER_RESTART=1 add_cdrom_drive e "$discs/e" Velmora
VELMORA_DEFER_RESTART=1 add_cdrom_drive f "$discs/f" VELMORA
restart_wineserver

after_test() {
    VELMORA_DEFER_RESTART=1 remove_drive e
    VELMORA_DEFER_RESTART=1 remove_drive f
    restart_wineserver
    rm -rf "$discs"
}
