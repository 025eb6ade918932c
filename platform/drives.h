// Drive kinds, labels and free space.
#pragma once
#include <cstdint>

#include "platform/types.h"

namespace platform {

// GetDriveTypeA(root): one of the drive* constants.
unsigned getDriveType(const char* root);
// GetVolumeInformationA(root, volumeName, volumeNameSize, serial, max length, flags,
// file-system name of 256 bytes): only the volume name is handed back.
bool getVolumeInformation(const char* root, char* volumeName, std::uint32_t volumeNameSize);
// GetDiskFreeSpaceExA(path, ...): the third result, the disk's total free bytes.
bool getDiskFreeSpace(const char* path, std::uint64_t* totalFreeBytes);

}  // namespace platform
