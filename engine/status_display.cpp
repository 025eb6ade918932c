#include "engine/status_display.h"

#include <thread>

#include "engine/dialog_window.h"
#include "engine/setup_engine.h"
#include "engine/text.h"
#include "platform/process.h"
#include "platform/windowing.h"

namespace {

constexpr int statusLine0Id = 1019;
constexpr int statusLine1Id = 1021;
constexpr std::uint32_t spinnerMask = 0x1ffff;  // line 0 is redrawn once per 0x20000 ticks
constexpr std::uint32_t millisecondsPerSecond = 1000;

// Full-width glyphs of code page 932, in the order they turn.
const char* const spinnerGlyphs[] = {"｜", "／", "―", "＼"};

}  // namespace

FileNameHandover currentFileName;
int spinnerIndex = 0;
std::uint32_t spinnerCounter = 0;
std::uint32_t lastSecondTick = 0;
int elapsedHours = 0;
int elapsedMinutes = 0;
int elapsedSeconds = 0;

void FileNameHandover::lock() const {
    while (held_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
}

void FileNameHandover::unlock() const { held_.clear(std::memory_order_release); }

void FileNameHandover::store(const char* name) {
    lock();
    text::copy(text_, sizeof text_, name);
    unlock();
}

bool FileNameHandover::load(char* buffer, std::size_t size) const {
    lock();
    const bool whole = text::copy(buffer, size, text_);
    unlock();
    return whole;
}

bool FileNameHandover::empty() const {
    lock();
    const bool none = text_[0] == '\0';
    unlock();
    return none;
}

void setStatusLine(const char* textIn, int line) {
    if (line != 0 && line != 1) return;
    platform::setWindowText(
        platform::getDlgItem(setupDialogWindow, line == 0 ? statusLine0Id : statusLine1Id), textIn);
}

void SetupEngine::showStatus(const char* textIn) { setStatusLine(textIn, 0); }

void restartElapsedClock() {
    lastSecondTick = platform::timeGetTime();
    elapsedHours = elapsedMinutes = elapsedSeconds = 0;
}

void statusTick() {
    // Before the first file of the program's first run there is nothing to show,
    // and the clock does not count.
    if (currentFileName.empty()) return;

    if (spinnerCounter == 0) {
        char name[FileNameHandover::capacity];
        char line[FileNameHandover::capacity];
        currentFileName.load(name, sizeof name);
        text::format(line, sizeof line, "%s %s", name, spinnerGlyphs[spinnerIndex]);
        spinnerIndex = (spinnerIndex + 1) % 4;
        setStatusLine(line, 0);
    }
    spinnerCounter = (spinnerCounter + 1) & spinnerMask;

    // Unsigned difference: harmless across the clock's wrap at 2^32.
    const std::uint32_t now = platform::timeGetTime();
    if (now - lastSecondTick <= millisecondsPerSecond) return;
    // One second per tick, from the last counted one: a late tick loses no time
    // and a stall is made good over the next ticks.
    lastSecondTick += millisecondsPerSecond;
    if (++elapsedSeconds > 59) {
        elapsedSeconds = 0;
        if (++elapsedMinutes > 59) {
            elapsedMinutes = 0;
            ++elapsedHours;
        }
    }
    char elapsed[32];
    text::format(elapsed, sizeof elapsed, "%d:%02d:%02d", elapsedHours, elapsedMinutes,
                 elapsedSeconds);
    setStatusLine(elapsed, 1);
}
