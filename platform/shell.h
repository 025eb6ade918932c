// Shell folders, shell links, the folder browser and opening documents.
#pragma once
#include <cstdint>

#include "platform/types.h"

namespace platform {

// SHGetSpecialFolderPathA(no window, buffer of 260, csidl, create).
bool getSpecialFolderPath(char* buffer, int csidl, bool create);

Status coInitialize();
void coUninitialize();

// CoCreateInstance(CLSID_ShellLink, none, CLSCTX_INPROC_SERVER, IID_IShellLinkA).
Status createShellLink(ShellLink* link);
Status shellLinkQueryPersistFile(ShellLink link, PersistFile* file);
Status shellLinkSetPath(ShellLink link, const char* path);
Status shellLinkSetWorkingDirectory(ShellLink link, const char* directory);
Status shellLinkSetIconLocation(ShellLink link, const char* path, int index);
Status shellLinkSetHotkey(ShellLink link, std::uint16_t hotkey);
Status shellLinkSetDescription(ShellLink link, const char* description);
Status shellLinkSetShowCmd(ShellLink link, int showCommand);
void shellLinkRelease(ShellLink link);
Status persistFileSave(PersistFile file, const char16_t* path, bool remember);
void persistFileRelease(PersistFile file);

// MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, out, capacity).
int multiByteToWide(const char* text, char16_t* out, int capacity);

// SHBrowseForFolderA with BROWSEINFOA; the item list, freed through SHGetMalloc.
struct BrowseRequest {
    Window owner = nullptr;
    char* displayName = nullptr;  // at least 260 bytes
    const char* title = nullptr;
    unsigned flags = 0;
    BrowseCallback callback = nullptr;
    LParam data = 0;
};
struct ItemList;
ItemList* browseForFolder(const BrowseRequest& request);
struct Allocator;
Status getShellAllocator(Allocator** allocator);   // SHGetMalloc
bool getPathFromItemList(const ItemList* item, char* path);  // SHGetPathFromIDListA, 260+
void allocatorFree(Allocator* allocator, ItemList* item);
void allocatorRelease(Allocator* allocator);

std::uint32_t getLongPathName(const char* path, char* out, std::uint32_t capacity);
// ShellExecuteA(window, verb, file, parameters, directory, show): its result as a number.
std::intptr_t shellExecute(Window window, const char* verb, const char* file,
                           const char* parameters, const char* directory, int showCommand);

}  // namespace platform
