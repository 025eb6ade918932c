#include "ui/setup_dialog.h"

#include "engine/setup_engine.h"
#include "engine/text.h"
#include "platform/constants.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"
#include "ui/centre.h"
#include "ui/dialog_ids.h"
#include "ui/install_commands.h"
#include "ui/install_form.h"
#include "ui/static_colours.h"

namespace {

void startDialog(platform::Window dialog) {
    setupDialogWindow = dialog;
    char textBuffer[1024];
    text::format(textBuffer, sizeof textBuffer, "%s　を\nアップデートしますか？",
                 productProfile.productTitle);
    platform::setWindowText(platform::getDlgItem(dialog, ids::question), textBuffer);
    text::format(textBuffer, sizeof textBuffer, "%s Updata", productProfile.productTitle);
    platform::sendMessage(dialog, platform::wmSetText, 0,
                          reinterpret_cast<platform::LParam>(textBuffer));
    centreOnWorkArea(dialog);
    setLabelFonts(dialog);
    applyInstalledState();
    showInstallDestination();
}

void updateCommand(platform::Window dialog) {
    if (setupEngine.installed == 0) {
        platform::messageBox(
            dialog,
            "インストールがされてませんでした。\nインストールを行ってからアップデートしてください。",
            "確認", platform::mbOk | platform::mbIconWarning);
        return;
    }
    if (setupEngine.installed != 1 && setupEngine.installed != 2) return;
    setupEngine.updateInstallation();
    endSetupDialog(dialog);
}

platform::Result command(platform::Window dialog, unsigned id) {
    switch (id) {
        case ids::cancel:
        case ids::exitProgram: exitCommand(dialog); return 1;
        case ids::update: updateCommand(dialog); return 1;
        case ids::installOrAbort: return installOrAbortCommand(dialog);
        case ids::startGame: startGameCommand(dialog); return 1;
        case ids::chooseFolder: chooseFolderCommand(); return 1;
        case ids::readme: readmeCommand(); return 1;
        case ids::uninstall: uninstallCommand(); return 1;
        case ids::manual: manualCommand(); return 1;
        default: return 1;
    }
}

}  // namespace

void endSetupDialog(platform::Window window) {
    platform::endDialog(window, 2);
    platform::postQuitMessage(0);
}

platform::Result PLATFORM_CALLBACK setupDialogProc(platform::Window window, unsigned message,
                                                   platform::WParam wParam,
                                                   platform::LParam lParam) {
    switch (message) {
        case platform::wmInitDialog:
            startDialog(window);
            return 1;
        case platform::wmCtlColorStatic:
            return colourStatic(window, reinterpret_cast<platform::DeviceContext>(wParam),
                                reinterpret_cast<platform::Window>(lParam));
        case platform::wmCommand:
            return command(window, static_cast<unsigned>(wParam & 0xFFFF));
        case platform::wmDestroy:
            releaseLabelFont();
            return 0;
        default:
            return 0;
    }
}
