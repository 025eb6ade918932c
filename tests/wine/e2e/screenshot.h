// Screenshots of the test desktop. Wine runs a native program when asked to
// start a Unix executable, so the driver calls ImageMagick's import on the X
// window of the virtual desktop, cropped to the window of interest.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// The Unix folder that VELMORA_E2E_SHOTS names, or nothing when unset.
std::optional<std::string> screenshotFolder();

struct Shot {
    std::string unixPath;
    std::string windowsPath;
    RECT area{};  // desktop coordinates of what the picture shows
};

// Saves `window` with a margin of the desktop around it as a PNG named
// `fileName` in `unixFolder`. Nothing if the capture failed.
std::optional<Shot> saveScreenshot(HWND window, const std::string& unixFolder,
                                   const std::string& fileName);

// Width and height from a PNG's header, or nothing if it is no PNG.
std::optional<SIZE> pngSize(const std::string& windowsPath);

}  // namespace e2e
