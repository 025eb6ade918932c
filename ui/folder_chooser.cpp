#include "ui/folder_chooser.h"

#include <cstring>

#include "engine/text.h"
#include "platform/constants.h"
#include "platform/shell.h"
#include "platform/windowing.h"

FolderChooser folderChooser;

namespace {

unsigned browseFlags(int mode) {
    switch (mode) {
        case 0: return platform::bifValidate;
        case 1: return platform::bifValidate | platform::bifEditBox;
        case 2: return platform::bifValidate | platform::bifEditBox | platform::bifStatusText;
        default: return 0;
    }
}

}  // namespace

int PLATFORM_CALLBACK browseCallback(platform::Window window, unsigned message, platform::LParam,
                                     platform::LParam data) {
    if (message == platform::bffmInitialized) {
        platform::sendMessage(window, platform::bffmSetSelectionA, 1, data);
        return 0;
    }
    if (message == platform::bffmValidateFailedA) {
        platform::messageBox(window, "不正なフォルダです", "Error", platform::mbOk);
        return 1;
    }
    return 0;
}

bool FolderChooser::chooseFolder(char* buffer, std::size_t size, int mode, bool addSeparator) {
    // The browser writes the chosen item's display name here; the caller's
    // buffer keeps the start folder until a path is known.
    char displayName[text::pathCapacity] = {};
    platform::BrowseRequest request;
    request.owner = owner;
    request.displayName = displayName;
    request.title = "フォルダを選択してください";
    request.flags = browseFlags(mode);
    request.callback = browseCallback;
    request.data = reinterpret_cast<platform::LParam>(buffer);
    platform::ItemList* item = platform::browseForFolder(request);
    if (item == nullptr) return false;

    platform::Allocator* allocator = nullptr;
    if (platform::getShellAllocator(&allocator) == platform::eFail || allocator == nullptr) {
        platform::messageBox(owner, "SHGetMalloc Error", "Error", platform::mbOk);
        return false;
    }
    char path[1024] = {};
    const bool hasPath = platform::getPathFromItemList(item, path) && path[0] != '\0';
    bool chosen = false;
    // An item without a file-system path (the computer, a network root) leaves
    // the buffer as it was.
    if (hasPath) {
        if (addSeparator && !text::endsWithBackslash(path)) {
            const std::size_t length = std::strlen(path);
            if (length + 1 < sizeof path) {
                path[length] = '\\';
                path[length + 1] = '\0';
            }
        }
        // Too long for the caller: refused whole, the buffer keeps its folder.
        const std::size_t length = std::strlen(path);
        if (length < size) {
            std::memcpy(buffer, path, length + 1);
            chosen = true;
        }
    }
    platform::allocatorFree(allocator, item);
    platform::allocatorRelease(allocator);
    return chosen;
}
