#include "shell/product_profile.h"

namespace {

const char* installNames[] = {
    "ExecuteProgram", "grd.pac",      "vic.pac",      "se.pac",       "sse.pac",
    "mus.pac",        "srp.pac",      "ogg.dll",      "vorbis.dll",   "vorbisfile.dll",
    "readme.txt",     "uninst.exe",   "Agrd.pac",     "Bgrd.pac",     "Cgrd.pac",
    "Dgrd.pac",       "Egrd.pac",     "Fgrd.pac",     "Ggrd.pac",     "Hgrd.pac",
    "Setting.exe",    "grd_2.pac",    "vic_2.pac",    "se_2.pac",     "sse_2.pac",
    "mus_2.pac",      "srp_2.pac",    "debuglog.txt", "movie/ED.mpg", nullptr,
};

const char* extraNames[] = {
    "grd_2.pac", "vic_2.pac", "se_2.pac",  "sse_2.pac", "mus_2.pac",
    "srp_2.pac", "srp_3.pac", "srp_4.pac", "srp_5.pac", "srp_6.pac", nullptr,
};

const char* mediaLabels[] = {"Velmora", nullptr};

}  // namespace

ProductProfile productProfile = {
    "Velmora　セットアップ",
    "Velmora",
    "Quillane",
    "Velmora",
    "Velmora.exe",
    "SOFTWARE\\Quillane\\Velmora",
    extraNames,
    installNames,
    mediaLabels,
    1617,
    1617,
    1617,
};
