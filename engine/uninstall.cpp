#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/files.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"

namespace {

void deleteNamesOf(FileList list, const char* folder) {
    for (int i = 0;; ++i) {
        const char* name = fileListEntry(list, i);
        if (name[0] == '\0') return;
        char path[text::pathCapacity] = {};
        // A folder and name that do not fit, or no folder at all, name no listed file.
        if (!text::joinPath(path, sizeof path, folder, name)) continue;
        platform::FindHandle found = platform::findFirstFile(path);
        if (found == nullptr) continue;
        platform::findClose(found);
        platform::setFileAttributes(path, platform::fileAttributeNormal);
        platform::deleteFile(path);
    }
}

}  // namespace

void SetupEngine::deleteListedFiles(const char* folder) {
    deleteNamesOf(installFiles, folder);
    deleteNamesOf(extraFiles, folder);
}

bool SetupEngine::uninstallProduct() {
    // 1024 bytes: a product name of any length that its field holds fits.
    char question[1024];
    text::format(question, sizeof question,
                 "%s のアンインストールを開始します。\n開始してもよろしいですか？", productName);
    if (platform::messageBox(dialogWindow, question, "確認",
                             platform::mbYesNo | platform::mbIconQuestion) == platform::idNo)
        return false;

    deleteListedFiles(installDir);
    removeStartMenuEntries();
    // Without the record's deletion the game still counts as installed.
    if (!deleteInstallRecord(productProfile.productKeyPath)) return false;

    platform::messageBox(dialogWindow, "アンインストールが完了しました。", "終了",
                         platform::mbOk | platform::mbIconWarning);
    installed = 0;
    return true;
}
