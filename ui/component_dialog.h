// The component selection dialog: install type and optional components.
#pragma once
#include <cstdint>

#include "platform/types.h"

constexpr int componentCancelled = 99;

// 0 when the dialog opens, toggled by the install-type control, 99 on Cancel.
extern std::int32_t componentChoice;

platform::Result PLATFORM_CALLBACK componentDialogProc(platform::Window window, unsigned message,
                                                       platform::WParam wParam,
                                                       platform::LParam lParam);
// The space the selected components need, in MiB.
std::uint32_t computeRequiredMegabytes();

namespace componentIds {
constexpr int sizeText = 1011;
constexpr int ok = 1012;
constexpr int cancel = 1013;
constexpr int installType = 1015;
constexpr int alwaysTicked = 1020;
constexpr int graphics = 1021;  // installFiles entry 1
constexpr int music = 1022;     // installFiles entry 5
constexpr int voices = 1023;    // installFiles entry 2
}  // namespace componentIds
