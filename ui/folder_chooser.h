// The shell's folder browser, for the parent folder of a new installation.
#pragma once
#include <cstddef>

#include "platform/types.h"

struct FolderChooser {
    platform::Instance instance = nullptr;
    platform::Window owner = nullptr;

    void init(platform::Instance instanceIn, platform::Window ownerIn) {
        instance = instanceIn;
        owner = ownerIn;
    }
    bool chooseFolder(char* buffer, std::size_t size, int mode, bool addSeparator);
};

extern FolderChooser folderChooser;
