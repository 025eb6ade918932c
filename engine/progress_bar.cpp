#include <algorithm>

#include "engine/dialog_window.h"
#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/windowing.h"

namespace {

// The bar is configured as a control of dialogWindow, which the entry leaves as
// none; the setup dialog is then the window that carries it.
platform::Window progressBar(const SetupEngine& engine) {
    const platform::Window holder =
        engine.dialogWindow != nullptr ? engine.dialogWindow : setupDialogWindow;
    return platform::getDlgItem(holder, engine.progressControlId);
}

}  // namespace

void SetupEngine::resetProgressBar(std::uint32_t range) {
    const platform::Window bar = progressBar(*this);
    platform::sendMessage(bar, platform::pbmSetRange, 0,
                          static_cast<platform::LParam>((range & 0xFFFFu) << 16));
    platform::sendMessage(bar, platform::pbmSetStep, 1, 0);
    platform::sendMessage(bar, platform::pbmSetPos, 0, 0);
}

void SetupEngine::stepProgressBar() {
    platform::sendMessage(progressBar(*this), platform::pbmStepIt, 0, 0);
}

void SetupEngine::stepProgressTo(std::uint32_t target) {
    progressTarget = target;
    if (progressTarget == progressShown) return;
    if (static_cast<std::int32_t>(progressTarget - progressShown) > 0) {
        const std::uint32_t from = std::min(progressShown, progressSteps);
        const std::uint32_t to = std::min(progressTarget, progressSteps);
        // The bar draws itself after every step, and from the install thread each
        // drawing is a round trip to the dialog's thread: a copy that ran ahead
        // would hold the wait loop (and its clock) for as many drawings. Steps
        // that come together are drawn once.
        const bool together = to - from > 1;
        const platform::Window bar = progressBar(*this);
        if (together) platform::sendMessage(bar, platform::wmSetRedraw, 0, 0);
        for (std::uint32_t step = from; step < to; ++step) stepProgressBar();
        if (together) {
            platform::sendMessage(bar, platform::wmSetRedraw, 1, 0);
            platform::invalidateWindow(bar);
        }
    }
    progressShown = progressTarget;
}

void SetupEngine::advanceProgress() {
    // Below 1000 bytes in all there is no step size; the copy fills the bar at its end.
    if (bytesPerStep == 0) return;
    stepProgressTo(bytesCopied.load() / bytesPerStep);
}
