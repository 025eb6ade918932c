// Which standard icon a message box shows, judged inside the program's own
// process by the hook in e2e_icon_probe.dll (beside the driver).
#pragma once

#include <windows.h>

#include "tests/wine/e2e/icon_probe_protocol.h"

namespace e2e {

// The kind of icon the static control `iconControl` shows.
BoxIcon probeIcon(HWND iconControl);

const char* boxIconName(BoxIcon icon);

}  // namespace e2e
