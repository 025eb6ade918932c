#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/files.h"
#include "platform/windowing.h"

namespace {

enum class EntryOutcome { done, stopUpdate };

// One list entry: copy, clear the attributes, carry the source's three times.
EntryOutcome updateEntry(SetupEngine& engine, const char* name) {
    char sourcePath[1024];
    char targetPath[1024];
    // Paths Windows cannot open whole are passed over, never cut into another name.
    if (!text::joinPath(sourcePath, text::pathCapacity, engine.sourceDir, engine.productFolder,
                        name) ||
        !text::joinPath(targetPath, text::pathCapacity, engine.installDir, name)) {
        return EntryOutcome::done;
    }
    engine.copyOneFile(targetPath, sourcePath, name);
    platform::setFileAttributes(targetPath, platform::fileAttributeNormal);

    platform::File source = platform::createFile(sourcePath, platform::genericRead,
                                                 platform::fileShareRead, platform::openExisting,
                                                 platform::fileAttributeNormal);
    if (source == nullptr) return EntryOutcome::done;
    platform::File target = platform::createFile(
        targetPath, platform::genericRead | platform::genericWrite,
        platform::fileShareRead | platform::fileShareWrite, platform::openExisting,
        platform::fileAttributeNormal);
    if (target == nullptr) {
        platform::closeFile(source);
        return EntryOutcome::stopUpdate;
    }
    platform::FileTime creation, lastAccess, lastWrite;
    platform::getFileTime(source, &creation, &lastAccess, &lastWrite);
    platform::setFileTime(target, &creation, &lastAccess, &lastWrite);
    platform::closeFile(source);
    platform::closeFile(target);
    return EntryOutcome::done;
}

bool updateList(SetupEngine& engine, FileList list) {
    for (int i = 0;; ++i) {
        const char* name = fileListEntry(list, i);
        if (name[0] == '\0') return true;
        if (updateEntry(engine, name) == EntryOutcome::stopUpdate) return false;
    }
}

}  // namespace

void SetupEngine::updateInstallation() {
    // An abort left pending by an earlier install must not empty the first target.
    cancelState = 0;
    programFolder(sourceDir, sizeof sourceDir);
    if (!updateList(*this, installFiles)) return;
    if (!updateList(*this, extraFiles)) return;
    platform::messageBox(dialogWindow, "アップデートが完了しました。", "終了",
                         platform::mbOk | platform::mbIconWarning);
}
