#include "engine/background_copy.h"

#include "engine/setup_engine.h"
#include "engine/status_display.h"
#include "platform/process.h"
#include "platform/windowing.h"

namespace {

void copyEntry(SetupEngine& engine, const char* name) {
    char targetPath[text::pathCapacity];
    char sourcePath[text::pathCapacity];
    // A path Windows could not open whole is passed over, never cut into another name.
    if (!text::joinPath(targetPath, sizeof targetPath, engine.installDir, name) ||
        !text::joinPath(sourcePath, sizeof sourcePath, engine.sourceDir, name)) {
        return;
    }
    currentFileName.store(name);
    engine.copyOneFile(targetPath, sourcePath, name);
}

// Serves the thread's queue so that its windows and boxes stay responsive.
void serveQueueOnce() {
    platform::Message message;
    if (platform::peekMessage(&message)) {
        platform::translateMessage(&message);
        platform::dispatchMessage(&message);
    } else {
        platform::sleep(0);
    }
}

}  // namespace

unsigned long PLATFORM_CALLBACK copyWorker(void* argument) {
    SetupEngine& engine = *static_cast<SetupEngine*>(argument);
    const int stopIndex = engine.endFile;
    for (int i = engine.firstFile;; ++i) {
        const char* name = fileListEntry(engine.installFiles, i);
        if (name[0] == '\0') break;
        if (i == stopIndex) break;
        std::int32_t seen = 2;
        if (engine.cancelState.compare_exchange_strong(seen, 3)) break;
        // The same test as selectedSourceBytes, so that the total and the copy agree.
        if (engine.isSelected(i)) copyEntry(engine, name);
    }
    // Last: the waiting thread reads cancelState and bytesCopied once it sees 0.
    engine.busy.store(0);
    platform::exitThread(0);
}

bool SetupEngine::copySelectedFiles() {
    // One copy at a time: the block buffer and the two streams exist once.
    std::int32_t idle = 0;
    if (!busy.compare_exchange_strong(idle, 1)) return false;
    // Cleared together with busy: from here on an abort request counts.
    cancelState.store(0);
    bytesCopied.store(0);

    const std::uint32_t total = selectedSourceBytes();
    resetProgressBar(progressSteps);
    bytesPerStep = total / progressSteps;
    progressTarget = 0;
    progressShown = 0;
    // The wait loop reads the clock from its first turn: restarted here, before
    // the worker exists, so that only this thread ever touches it.
    restartElapsedClock();

    platform::Thread worker = platform::createThread(copyWorker, this, &copyThreadId);
    if (worker == nullptr) {
        copyThreadId = 0;
        busy.store(0);
        return false;
    }
    platform::closeThread(worker);  // nothing waits on it: busy tells the end

    while (busy.load() != 0) {
        statusTick();
        advanceProgress();
        serveQueueOnce();
    }
    advanceProgress();

    const bool finished = cancelState.load() < 1;
    // A total without a step size leaves nothing to show on the way; a copy that
    // ran to its end then shows the whole bar.
    if (finished && bytesPerStep == 0) stepProgressTo(progressSteps);
    return finished;
}
