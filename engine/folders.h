// Folders of an installation: their existence, creation and free space.
#pragma once
#include <cstdint>

// True when the folder exists (it can be entered, which makes it the current
// directory) or was created.
bool makeFolder(const char* path);
// Free space in whole MiB of the drive that holds path. A path that cannot be
// measured (a folder still to be made) is measured at its nearest existing
// level; 0 when not even the drive can be measured.
std::uint32_t queryFreeMegabytes(const char* path);
