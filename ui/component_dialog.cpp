#include "ui/component_dialog.h"

#include "engine/setup_engine.h"
#include "engine/text.h"
#include "platform/constants.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"
#include "ui/centre.h"

std::int32_t componentChoice = 0;

namespace {

struct Component {
    int control;
    int entry;  // installFiles index and selection byte
};
// In the order the dialog ticks them when it opens.
const Component components[] = {
    {componentIds::graphics, 1}, {componentIds::music, 5}, {componentIds::voices, 2}};

void setSizeText(platform::Window dialog, const char* format, std::uint32_t megabytes) {
    char sizeText[64];
    text::format(sizeText, sizeof sizeText, format, static_cast<int>(megabytes));
    platform::setWindowText(platform::getDlgItem(dialog, componentIds::sizeText), sizeText);
}

void startDialog(platform::Window dialog) {
    platform::sendMessage(dialog, platform::wmSetText, 0,
                          reinterpret_cast<platform::LParam>("インストールする項目の選択"));
    centreOnWorkArea(dialog);
    componentChoice = 0;
    platform::sendMessage(platform::getDlgItem(dialog, componentIds::alwaysTicked),
                          platform::bmSetCheck, 1, 0);
    for (const Component& c : components) {
        if (setupEngine.selected[c.entry] == 1)
            platform::sendMessage(platform::getDlgItem(dialog, c.control), platform::bmSetCheck, 1, 0);
    }
}

void toggleInstallType(platform::Window dialog) {
    componentChoice = (componentChoice - 1) & 1;
    const bool whole = componentChoice == 1;
    setupEngine.setInstallType(whole ? 2 : 1, 0, whole ? endOfList : 11);
    const std::uint32_t megabytes =
        whole ? productProfile.type2Megabytes : productProfile.type1Megabytes;
    setupEngine.setRequiredMegabytes(megabytes);
    setSizeText(dialog, "%dM byte", megabytes);
}

void toggleComponent(platform::Window dialog, const Component& c) {
    const platform::Result state =
        platform::sendMessage(platform::getDlgItem(dialog, c.control), platform::bmGetCheck, 0, 0);
    setupEngine.selected[c.entry] = state == 1 ? 1 : 0;
    const std::uint32_t megabytes = computeRequiredMegabytes();
    productProfile.installMegabytes = megabytes;
    setupEngine.setRequiredMegabytes(megabytes);
    setSizeText(dialog, "%dM", megabytes);
}

void command(platform::Window dialog, int id) {
    switch (id) {
        case componentIds::ok: platform::endDialog(dialog, componentIds::ok); return;
        case componentIds::cancel:
            componentChoice = componentCancelled;
            platform::endDialog(dialog, componentIds::cancel);
            return;
        case componentIds::installType: toggleInstallType(dialog); return;
        default:
            for (const Component& c : components)
                if (c.control == id) toggleComponent(dialog, c);
            return;
    }
}

}  // namespace

std::uint32_t computeRequiredMegabytes() {
    std::uint32_t megabytes = setupEngine.selected[1] == 1 ? 1340 : 140;
    if (setupEngine.selected[5] == 1) megabytes += 220;
    if (setupEngine.selected[2] == 1) megabytes += 740;
    return megabytes;
}

platform::Result PLATFORM_CALLBACK componentDialogProc(platform::Window window, unsigned message,
                                                       platform::WParam wParam, platform::LParam) {
    switch (message) {
        case platform::wmInitDialog: startDialog(window); return 1;
        case platform::wmCommand: command(window, static_cast<int>(wParam & 0xFFFF)); return 1;
        default: return 0;
    }
}
