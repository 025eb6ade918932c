#include "ui/install_form.h"

#include "engine/setup_engine.h"
#include "engine/text.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"
#include "ui/dialog_ids.h"
#include "ui/setup_dialog.h"

void applyControlStates(const ControlState* states, int count) {
    for (int i = 0; i < count; ++i) {
        platform::enableWindow(platform::getDlgItem(setupDialogWindow, states[i].id),
                               states[i].enabled);
    }
}

void applyInstalledState() {
    static const ControlState notInstalled[] = {
        {ids::installOrAbort, true}, {ids::uninstall, false},
        {ids::startGame, false}, {ids::chooseFolder, true}};
    static const ControlState installed[] = {
        {ids::installOrAbort, false}, {ids::uninstall, true},
        {ids::startGame, true}, {ids::chooseFolder, false}};
    if (setupEngine.installed == 0) applyControlStates(notInstalled, 4);
    else if (setupEngine.installed == 1) applyControlStates(installed, 4);
}

void showInstallDestination() {
    char folder[1024];
    text::format(folder, sizeof folder, "%s\\%s\\%s", setupEngine.installBase,
                 productProfile.studioName, productProfile.productFolderName);
    platform::setWindowText(platform::getDlgItem(setupDialogWindow, ids::installFolder), folder);
}
