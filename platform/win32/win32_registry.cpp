// Registry keys and values under HKEY_LOCAL_MACHINE.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/registry.h"

namespace platform {

static_assert(sizeof(Status) == sizeof(LONG), "Status carries a LONG result");

namespace {
HKEY toHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
}  // namespace

Status regCreateKey(const char* path, std::uint32_t options, std::uint32_t access, RegKey* key) {
    HKEY created = nullptr;
    DWORD disposition = 0;  // created or opened: the caller does not ask
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, options, access, nullptr,
                                  &created, &disposition);
    *key = reinterpret_cast<RegKey>(created);
    return status;
}

Status regOpenKey(const char* path, std::uint32_t access, RegKey* key) {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access, &opened);
    *key = reinterpret_cast<RegKey>(opened);
    return status;
}

Status regSetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                   std::uint32_t byteCount) {
    return RegSetValueExA(toHkey(key), name, 0, type, static_cast<const BYTE*>(data), byteCount);
}

Status regQueryValue(RegKey key, const char* name, std::uint32_t* type, void* buffer,
                     std::uint32_t* size) {
    // DWORD is unsigned long on this ABI; go through locals rather than alias the caller's.
    DWORD typeOut = type ? *type : 0;
    DWORD sizeOut = size ? *size : 0;
    LONG status = RegQueryValueExA(toHkey(key), name, nullptr, type ? &typeOut : nullptr,
                                   static_cast<BYTE*>(buffer), size ? &sizeOut : nullptr);
    if (type) *type = typeOut;
    if (size) *size = sizeOut;
    return status;
}

Status regDeleteKey(const char* path) { return RegDeleteKeyA(HKEY_LOCAL_MACHINE, path); }

Status regCloseKey(RegKey key) { return RegCloseKey(toHkey(key)); }

}  // namespace platform
