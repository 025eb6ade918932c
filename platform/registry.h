// Registry keys and values under HKEY_LOCAL_MACHINE.
#pragma once
#include <cstdint>

#include "platform/types.h"

namespace platform {

// RegCreateKeyExA(HKLM, path, 0, no class, options, access, default security, key, disposition).
Status regCreateKey(const char* path, std::uint32_t options, std::uint32_t access, RegKey* key);
// RegOpenKeyExA(HKLM, path, 0, access, key).
Status regOpenKey(const char* path, std::uint32_t access, RegKey* key);
// RegSetValueExA(key, name, 0, type, data, byteCount).
Status regSetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                   std::uint32_t byteCount);
// RegQueryValueExA(key, name, no reserved, type, buffer, size): type and size in and out.
Status regQueryValue(RegKey key, const char* name, std::uint32_t* type, void* buffer,
                     std::uint32_t* size);
// RegDeleteKeyA(HKLM, path).
Status regDeleteKey(const char* path);
// RegCloseKey(key).
Status regCloseKey(RegKey key);

}  // namespace platform
