#include "tests/wine/e2e/screenshot.h"

#include <cstdio>

#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/wait.h"

namespace e2e {

namespace {

constexpr int margin = 16;
constexpr DWORD captureTimeoutMs = 30000;

// The path goes into a shell command between single quotes: keep it plain.
bool plainUnixPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return false;
    for (char c : path) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == '/' || c == '.' || c == '_' || c == '-' || c == '+';
        if (!ok) return false;
    }
    return true;
}

// Wine's drive z: is the Unix root.
std::string windowsView(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool exists(const std::string& windowsPath) {
    return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

RECT captureArea(HWND window) {
    RECT area{}, desktop{};
    GetWindowRect(window, &area);
    GetWindowRect(GetDesktopWindow(), &desktop);
    area.left = area.left - margin < desktop.left ? desktop.left : area.left - margin;
    area.top = area.top - margin < desktop.top ? desktop.top : area.top - margin;
    area.right = area.right + margin > desktop.right ? desktop.right : area.right + margin;
    area.bottom = area.bottom + margin > desktop.bottom ? desktop.bottom : area.bottom + margin;
    return area;
}

// Lets the program paint what it shows before the capture.
void settle(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, windowTimeoutMs, &ignored);
    pumpFor(300);
}

// Starts a native shell; its end is seen by the file it leaves, since Wine
// gives no waitable handle for a Unix process.
bool runShell(const std::string& script) {
    std::string commandLine = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return false;
    }
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    return true;
}

}  // namespace

std::optional<std::string> screenshotFolder() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("VELMORA_E2E_SHOTS", folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return std::nullopt;
    return std::string(folder, length);
}

std::optional<Shot> saveScreenshot(HWND window, const std::string& unixFolder,
                                   const std::string& fileName) {
    Shot shot;
    shot.unixPath = unixFolder + "/" + fileName;
    shot.windowsPath = windowsView(shot.unixPath);
    if (!plainUnixPath(shot.unixPath) || !IsWindow(window)) return std::nullopt;
    const std::string part = shot.unixPath + ".part.png";
    const std::string failed = shot.unixPath + ".failed";
    makeFolders(windowsView(unixFolder));
    DeleteFileA(shot.windowsPath.c_str());
    DeleteFileA(windowsView(failed).c_str());

    settle(window);
    shot.area = captureArea(window);
    char crop[64];
    std::snprintf(crop, sizeof crop, "%ldx%ld+%ld+%ld", shot.area.right - shot.area.left,
                  shot.area.bottom - shot.area.top, shot.area.left, shot.area.top);
    const std::string script = std::string("import -window '") + testDesktopXTitle + "' -crop " +
                               crop + " +repage '" + part + "' && mv -f '" + part + "' '" +
                               shot.unixPath + "' || touch '" + failed + "'";
    if (!runShell(script)) return std::nullopt;
    const std::string failedView = windowsView(failed);
    waitUntil([&] { return exists(shot.windowsPath) || exists(failedView); }, captureTimeoutMs);
    if (!exists(shot.windowsPath)) return std::nullopt;
    return shot;
}

std::optional<SIZE> pngSize(const std::string& windowsPath) {
    const std::optional<std::string> data = readFile(windowsPath);
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (!data || data->size() < 24 || data->compare(0, 8, signature, 8) != 0 ||
        data->compare(12, 4, "IHDR") != 0) {
        return std::nullopt;
    }
    auto bigEndian = [&](std::size_t at) {
        long value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>((*data)[at + i]);
        return value;
    };
    return SIZE{bigEndian(16), bigEndian(20)};
}

}  // namespace e2e
