#include "ui/install_commands.h"

#include <atomic>
#include <cstring>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/process.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"
#include "ui/component_dialog.h"
#include "ui/dialog_ids.h"
#include "ui/folder_chooser.h"
#include "ui/install_form.h"
#include "ui/setup_dialog.h"

namespace {

// 1 from the start of the install thread until its last act: the install runs
// outside the copy too (space check, folder question, record, shortcuts), where
// isBusy() is false, and no second install may start then.
std::atomic<int> installRunning{0};
// Set when the program is asked to end while the install thread runs: the
// thread then ends without its failure message.
std::atomic<int> exitRequested{0};
platform::Thread installThreadHandle = nullptr;

const char* installCaption = "インストール";
const char* abortCaption = "中断";

void setInstallButtonCaption(const char* caption) {
    platform::setWindowText(platform::getDlgItem(setupDialogWindow, ids::installOrAbort), caption);
}

unsigned long PLATFORM_CALLBACK installThread(void*) {
    static const ControlState begins[] = {
        {ids::uninstall, false}, {ids::startGame, false}, {ids::readme, false},
        {ids::manual, false},    {ids::cancel, false},    {ids::chooseFolder, false}};
    static const ControlState succeeded[] = {
        {ids::installOrAbort, false}, {ids::uninstall, true}, {ids::startGame, true},
        {ids::readme, true},          {ids::manual, true},    {ids::cancel, true}};
    static const ControlState failed[] = {
        {ids::installOrAbort, true}, {ids::readme, true}, {ids::manual, true},
        {ids::cancel, true},         {ids::chooseFolder, true}};

    applyControlStates(begins, 6);
    if (setupEngine.install()) {
        applyControlStates(succeeded, 6);
    } else {
        if (exitRequested.load() == 0) {
            platform::messageBox(setupDialogWindow,
                                 "インストールが正常に行われませんでした。\nもう一度ご確認の上、インストールを行ってください。",
                                 "確認", platform::mbOk | platform::mbIconWarning);
        }
        applyControlStates(failed, 5);
    }
    setInstallButtonCaption(installCaption);
    installRunning.store(0);
    return 0;
}

// Serves the dialog thread's queue until the install thread has ended: that
// thread's window calls are carried out here, so a plain wait would never end.
void waitForInstallThread() {
    platform::Message message;
    while (installRunning.load() != 0) {
        // A copy that starts after the request (the install was still asking
        // its questions) is stopped as well.
        if (setupEngine.isBusy() && setupEngine.cancelState.load() == 0) setupEngine.cancelState = 1;
        if (platform::peekMessage(&message)) {
            platform::translateMessage(&message);
            platform::dispatchMessage(&message);
        } else {
            platform::sleep(1);
        }
    }
    if (installThreadHandle != nullptr) {
        platform::waitForThread(installThreadHandle);
        platform::closeThread(installThreadHandle);
        installThreadHandle = nullptr;
    }
}

}  // namespace

platform::Result installOrAbortCommand(platform::Window) {
    if (setupEngine.isBusy()) {
        setupEngine.cancelState = 1;
        platform::enableWindow(platform::getDlgItem(setupDialogWindow, ids::installOrAbort), false);
        return 1;
    }
    // Outside the copy an install that is still running is left to finish.
    if (installRunning.load() != 0) return 1;

    platform::dialogBox(folderChooser.instance, ids::componentTemplate, setupDialogWindow,
                        componentDialogProc, 0);
    if (componentChoice == componentCancelled) return 1;

    if (installThreadHandle != nullptr) {  // the previous install's thread has ended
        platform::waitForThread(installThreadHandle);
        platform::closeThread(installThreadHandle);
        installThreadHandle = nullptr;
    }
    installRunning.store(1);
    exitRequested.store(0);
    // The caption comes first: an install that fails at once sets it back from
    // its own thread, and must not be overtaken by this one.
    setInstallButtonCaption(abortCaption);
    std::uint32_t threadId = 0;
    installThreadHandle = platform::createThread(installThread, nullptr, &threadId);
    if (installThreadHandle == nullptr) {
        setInstallButtonCaption(installCaption);
        installRunning.store(0);
        return 0;
    }
    return 1;
}

void startGameCommand(platform::Window dialog) {
    if (setupEngine.launchGame()) endSetupDialog(dialog);
}

void chooseFolderCommand() {
    folderChooser.chooseFolder(setupEngine.installBase, sizeof setupEngine.installBase, 0, false);
    if (std::strlen(setupEngine.installBase) == 3) setupEngine.installBase[2] = '\0';
    showInstallDestination();
}

void readmeCommand() { setupEngine.openReadme(); }

void uninstallCommand() {
    static const ControlState completed[] = {
        {ids::installOrAbort, true}, {ids::uninstall, false},
        {ids::startGame, false},     {ids::chooseFolder, true}};
    if (!setupEngine.uninstallProduct()) return;
    setupEngine.setInstallType(0, 0, endOfList);
    applyControlStates(completed, 4);
}

void manualCommand() { setupEngine.openManual(); }

void exitCommand(platform::Window dialog) {
    if (installRunning.load() != 0) {
        if (exitRequested.exchange(1) != 0) return;  // already on its way out
        // Stop the copy and let the install clean up as after an abort.
        setupEngine.cancelState = 1;
        waitForInstallThread();
    } else if (installThreadHandle != nullptr) {
        platform::waitForThread(installThreadHandle);
        platform::closeThread(installThreadHandle);
        installThreadHandle = nullptr;
    }
    endSetupDialog(dialog);
}
