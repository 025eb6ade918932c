// Drive kinds, labels and free space.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/drives.h"

namespace platform {

unsigned getDriveType(const char* root) { return GetDriveTypeA(root); }

bool getVolumeInformation(const char* root, char* volumeName, std::uint32_t volumeNameSize) {
    DWORD serial = 0, maxComponentLength = 0, flags = 0;
    char fileSystemName[256] = {};  // asked for, not used
    return GetVolumeInformationA(root, volumeName, volumeNameSize, &serial, &maxComponentLength,
                                 &flags, fileSystemName, sizeof fileSystemName) != FALSE;
}

bool getDiskFreeSpace(const char* path, std::uint64_t* totalFreeBytes) {
    ULARGE_INTEGER availableToCaller{}, totalBytes{}, totalFree{};
    if (!GetDiskFreeSpaceExA(path, &availableToCaller, &totalBytes, &totalFree)) return false;
    *totalFreeBytes = totalFree.QuadPart;
    return true;
}

}  // namespace platform
