#include "ui/centre.h"

#include "platform/windowing.h"

std::int32_t centredOrigin(std::int32_t low, std::int32_t high, std::int32_t size) {
    // In 64 bits so that no sum overflows; >> on a negative value is an
    // arithmetic shift with the compilers this program is built with.
    const std::int64_t sum = static_cast<std::int64_t>(low) + high - size;
    return static_cast<std::int32_t>(sum >> 1);
}

void centreOnWorkArea(platform::Window dialog) {
    platform::Rect work;
    platform::getWorkArea(&work);
    platform::Rect rect;
    platform::getWindowRect(dialog, &rect);
    const std::int32_t width = rect.right - rect.left;
    const std::int32_t height = rect.bottom - rect.top;
    platform::moveWindow(dialog, centredOrigin(work.left, work.right, width),
                         centredOrigin(work.top, work.bottom, height), width, height, true);
}
