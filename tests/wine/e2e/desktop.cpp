#include "tests/wine/e2e/desktop.h"

#include <windows.h>

#include <cstring>

namespace e2e {

namespace {

constexpr const char* desktopSize = "640x480";

// Wine's explorer reads the size of a named desktop from here when the
// desktop first gets a window.
bool configureDesktopSize() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status =
        RegSetValueExA(key, testDesktopName, 0, REG_SZ, reinterpret_cast<const BYTE*>(desktopSize),
                       static_cast<DWORD>(std::strlen(desktopSize) + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool onTestDesktop() {
    char name[64] = {};
    HDESK current = GetThreadDesktop(GetCurrentThreadId());
    return current && GetUserObjectInformationA(current, UOI_NAME, name, sizeof name - 1, nullptr) &&
           std::strcmp(name, testDesktopName) == 0;
}

}  // namespace

bool enterTestDesktop() {
    if (onTestDesktop()) return true;
    if (!configureDesktopSize()) return false;
    HDESK desktop = CreateDesktopA(testDesktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (desktop == nullptr) return false;
    // The handle stays open for the life of the driver: the desktop lives on it.
    return SetThreadDesktop(desktop) != FALSE;
}

}  // namespace e2e
