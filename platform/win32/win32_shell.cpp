// Shell folders, shell links, the folder browser and opening documents.
// Not lean: the shell and COM declarations are needed in full.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/shell.h"

namespace platform {

static_assert(sizeof(Status) == sizeof(HRESULT), "Status carries an HRESULT");
static_assert(sizeof(char16_t) == sizeof(WCHAR), "wide texts are UTF-16 code units");
static_assert(sizeof(int) == sizeof(INT), "BrowseCallback returns an int");

namespace {
IShellLinkA* toLink(ShellLink link) { return reinterpret_cast<IShellLinkA*>(link); }
IPersistFile* toPersist(PersistFile file) { return reinterpret_cast<IPersistFile*>(file); }
IMalloc* toMalloc(Allocator* allocator) { return reinterpret_cast<IMalloc*>(allocator); }
}  // namespace

bool getSpecialFolderPath(char* buffer, int csidl, bool create) {
    return SHGetSpecialFolderPathA(nullptr, buffer, csidl, create) != FALSE;
}

Status coInitialize() { return CoInitialize(nullptr); }
void coUninitialize() { CoUninitialize(); }

Status createShellLink(ShellLink* link) {
    IShellLinkA* created = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&created));
    *link = reinterpret_cast<ShellLink>(created);
    return hr;
}

Status shellLinkQueryPersistFile(ShellLink link, PersistFile* file) {
    IPersistFile* persist = nullptr;
    HRESULT hr = toLink(link)->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    *file = reinterpret_cast<PersistFile>(persist);
    return hr;
}

Status shellLinkSetPath(ShellLink link, const char* path) { return toLink(link)->SetPath(path); }

Status shellLinkSetWorkingDirectory(ShellLink link, const char* directory) {
    return toLink(link)->SetWorkingDirectory(directory);
}

Status shellLinkSetIconLocation(ShellLink link, const char* path, int index) {
    return toLink(link)->SetIconLocation(path, index);
}

Status shellLinkSetHotkey(ShellLink link, std::uint16_t hotkey) {
    return toLink(link)->SetHotkey(hotkey);
}

Status shellLinkSetDescription(ShellLink link, const char* description) {
    return toLink(link)->SetDescription(description);
}

Status shellLinkSetShowCmd(ShellLink link, int showCommand) {
    return toLink(link)->SetShowCmd(showCommand);
}

void shellLinkRelease(ShellLink link) { toLink(link)->Release(); }

Status persistFileSave(PersistFile file, const char16_t* path, bool remember) {
    return toPersist(file)->Save(reinterpret_cast<LPCOLESTR>(path), remember);
}

void persistFileRelease(PersistFile file) { toPersist(file)->Release(); }

int multiByteToWide(const char* text, char16_t* out, int capacity) {
    return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, reinterpret_cast<WCHAR*>(out),
                               capacity);
}

ItemList* browseForFolder(const BrowseRequest& request) {
    BROWSEINFOA info{};
    info.hwndOwner = reinterpret_cast<HWND>(request.owner);
    info.pidlRoot = nullptr;  // the desktop
    info.pszDisplayName = request.displayName;
    info.lpszTitle = request.title;
    info.ulFlags = request.flags;
    info.lpfn = reinterpret_cast<BFFCALLBACK>(request.callback);
    info.lParam = request.data;
    info.iImage = 0;
    return reinterpret_cast<ItemList*>(SHBrowseForFolderA(&info));
}

Status getShellAllocator(Allocator** allocator) {
    IMalloc* shellMalloc = nullptr;
    HRESULT hr = SHGetMalloc(&shellMalloc);
    *allocator = reinterpret_cast<Allocator*>(shellMalloc);
    return hr;
}

bool getPathFromItemList(const ItemList* item, char* path) {
    return SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path) != FALSE;
}

void allocatorFree(Allocator* allocator, ItemList* item) { toMalloc(allocator)->Free(item); }
void allocatorRelease(Allocator* allocator) { toMalloc(allocator)->Release(); }

std::uint32_t getLongPathName(const char* path, char* out, std::uint32_t capacity) {
    return GetLongPathNameA(path, out, capacity);
}

std::intptr_t shellExecute(Window window, const char* verb, const char* file,
                           const char* parameters, const char* directory, int showCommand) {
    HINSTANCE result = ShellExecuteA(reinterpret_cast<HWND>(window), verb, file, parameters,
                                     directory, showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace platform
