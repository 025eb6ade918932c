#include <cstring>

#include "engine/folders.h"
#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"

namespace {

constexpr std::size_t messageCapacity = 1024;

std::size_t longestName(FileList list) {
    std::size_t longest = 0;
    for (int i = 0; fileListEntry(list, i)[0] != '\0'; ++i) {
        const std::size_t length = std::strlen(fileListEntry(list, i));
        if (length > longest) longest = length;
    }
    return longest;
}

// installDir from installBase, companyName and productFolder. The folder's whole
// text goes into `folder` (three path texts fit its 1024 bytes); installDir takes
// it only when the folder and each listed file's path in it fit a path buffer,
// and is left empty otherwise, so that no later step works in a cut-off folder.
bool composeInstallDir(SetupEngine& engine, char* folder, std::size_t size) {
    text::format(folder, size, "%s\\%s\\%s", engine.installBase, engine.companyName,
                 engine.productFolder);
    std::size_t longest = longestName(engine.installFiles);
    const std::size_t extra = longestName(engine.extraFiles);
    if (extra > longest) longest = extra;
    if (std::strlen(folder) + 1 + longest >= text::pathCapacity) {
        engine.installDir[0] = '\0';
        return false;
    }
    return text::copy(engine.installDir, sizeof engine.installDir, folder);
}

void warn(const SetupEngine& engine, const char* message) {
    platform::messageBox(engine.dialogWindow, message, "確認",
                         platform::mbOk | platform::mbIconWarning);
}

void warnFolderNotMade(const SetupEngine& engine, const char* folder) {
    char message[messageCapacity];
    text::format(message, sizeof message, "%s フォルダを作成できませんでした。", folder);
    warn(engine, message);
}

void warnNoSpace(const SetupEngine& engine, std::uint32_t freeMegabytes) {
    // The drive part of installDir: drive letter, colon and backslash.
    char drive[4] = {};
    std::memcpy(drive, engine.installDir, strnlen(engine.installDir, 3));
    char message[messageCapacity];
    text::format(message, sizeof message,
                 "%s ドライブの空き容量が足りません。\n今現在のドライブの容量は %dMです。\n"
                 "インストールするには 約%dMの容量が必要です。",
                 drive, static_cast<int>(freeMegabytes),
                 static_cast<int>(engine.requiredMegabytes));
    warn(engine, message);
}

}  // namespace

bool SetupEngine::install() {
    // One trailing backslash goes, so that a drive root c:\ becomes c:.
    if (text::endsWithBackslash(installBase)) *text::lastBackslash(installBase) = '\0';

    char folder[messageCapacity];
    if (!composeInstallDir(*this, folder, sizeof folder)) {
        warnFolderNotMade(*this, folder);
        return false;
    }

    // Asked for the base, which exists more often than the folder still to be made.
    const std::uint32_t freeMegabytes = queryFreeMegabytes(installBase);
    if (requiredMegabytes > freeMegabytes) {
        warnNoSpace(*this, freeMegabytes);
        return false;
    }

    if (!makeFolderPath(installDir)) {
        warnFolderNotMade(*this, installDir);
        return false;
    }

    if (!copySelectedFiles()) {
        deleteListedFiles(installDir);
        return false;
    }

    showStatus("レジストリにゲーム情報を書き込んでいます。");
    if (!writeInstallRecord()) {
        deleteListedFiles(installDir);
        deleteInstallRecord(productProfile.productKeyPath);
        return false;
    }

    // A failure here keeps the files and the record: the game is there and
    // counts as installed at the next start.
    showStatus("スタートメニューに登録しています。");
    if (!createStartMenuEntries(1)) return false;

    showStatus("インストールが完了しました。");
    platform::messageBox(dialogWindow, "インストールが完了しました。", "終了",
                         platform::mbOk | platform::mbIconWarning);
    showStatus("");
    installed = 1;
    return true;
}
