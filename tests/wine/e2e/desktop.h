// The driver and the programs it starts share one desktop of their own. Under
// Wine a named desktop with a size in the registry becomes a virtual desktop:
// a single X window in which Wine draws the frames and captions itself, so
// that screenshots show them without a window manager.
#pragma once

namespace e2e {

constexpr const char* testDesktopName = "VelmoraE2E";
// Wine titles the X window of a virtual desktop "NAME - Wine desktop".
constexpr const char* testDesktopXTitle = "VelmoraE2E - Wine desktop";

// Moves the calling thread onto the test desktop. Call it before the thread
// makes any window; later calls do nothing. False if the desktop is missing.
bool enterTestDesktop();

}  // namespace e2e
