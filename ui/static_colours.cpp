#include "ui/static_colours.h"

#include <initializer_list>

#include "platform/constants.h"
#include "platform/windowing.h"
#include "ui/dialog_ids.h"

namespace {

// Made once for the dialog's life: a font deleted while the control still has
// it selected would be gone before the text is drawn, and one made per repaint
// would pile up.
platform::GdiHandle labelFont = nullptr;

platform::GdiHandle boldLabelFont() {
    if (labelFont == nullptr) {
        labelFont = platform::createFont(16, 8, 0, 0, platform::fwBold, false, false, false,
                                         platform::shiftJisCharset, 0, 0,
                                         platform::antialiasedQuality, platform::fixedPitch,
                                         nullptr);
    }
    return labelFont;
}

}  // namespace

platform::Result colourStatic(platform::Window dialog, platform::DeviceContext dc,
                              platform::Window control) {
    if (control == nullptr) return 1;
    if (control == platform::getDlgItem(dialog, ids::installFolder)) {
        platform::setBkColor(dc, installFolderBackground);
    }
    const bool white = control == platform::getDlgItem(dialog, ids::whiteLabel);
    const bool black = !white && control == platform::getDlgItem(dialog, ids::blackLabel);
    if (!white && !black) return 1;

    platform::GdiHandle font = boldLabelFont();
    if (font != nullptr) platform::selectObject(dc, font);
    platform::setTextColor(dc, white ? platform::rgb(255, 255, 255) : platform::rgb(0, 0, 0));
    platform::setBkMode(dc, platform::transparentMode);
    return reinterpret_cast<platform::Result>(platform::getNullBrush());
}

void setLabelFonts(platform::Window dialog) {
    // Some static controls select the dialog's font themselves after asking for
    // their colours; handing them the bold font makes it the one they draw with.
    for (int id : {ids::whiteLabel, ids::blackLabel}) {
        platform::Window label = platform::getDlgItem(dialog, id);
        if (label == nullptr) continue;
        platform::GdiHandle font = boldLabelFont();
        if (font == nullptr) return;
        platform::sendMessage(label, platform::wmSetFont, reinterpret_cast<platform::WParam>(font), 0);
    }
}

void releaseLabelFont() {
    if (labelFont == nullptr) return;
    platform::deleteObject(labelFont);
    labelFont = nullptr;
}
