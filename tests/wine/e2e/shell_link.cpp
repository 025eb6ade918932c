#include "tests/wine/e2e/shell_link.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace e2e {

namespace {

std::wstring wide(const std::string& text) {
    wchar_t buffer[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer, MAX_PATH);
    return buffer;
}

// COM for the calling thread for as long as the reader works.
struct ComScope {
    ComScope() : ok(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (ok) CoUninitialize();
    }
    bool ok;
};

}  // namespace

std::optional<ShellLink> readShellLink(const std::string& path) {
    ComScope com;
    if (!com.ok) return std::nullopt;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return std::nullopt;
    }
    std::optional<ShellLink> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(wide(path).c_str(), STGM_READ))) {
            char target[MAX_PATH] = {};
            char folder[MAX_PATH] = {};
            // Raw: the target as stored, not resolved against the disk.
            if (SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH))) {
                result = ShellLink{target, folder};
            }
        }
        file->Release();
    }
    link->Release();
    return result;
}

std::string commonProgramsFolder() {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_PROGRAMS, FALSE)) return "";
    return path;
}

}  // namespace e2e
