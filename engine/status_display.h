// The two status lines of the setup dialog: line 0 (control 1019) shows the
// file in hand with a turning spinner during a copy, or a phase text of the
// install; line 1 (control 1021) shows the elapsed time of the copy.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

// The name of the file the copy worker handed to copyOneFile last. The worker
// writes it and the wait loop reads it: the text is handed over whole under a
// small spin lock, so a reader never sees a name half written.
class FileNameHandover {
public:
    static constexpr std::size_t capacity = 1024;
    void store(const char* name);
    // Copies the name into buffer; false (and the empty text) when it does not fit.
    bool load(char* buffer, std::size_t size) const;
    bool empty() const;

private:
    void lock() const;
    void unlock() const;
    mutable std::atomic_flag held_ = ATOMIC_FLAG_INIT;
    char text_[capacity] = {};
};

// Never cleared: at the start of a run it still names the last file of the run before.
extern FileNameHandover currentFileName;

// Spinner and elapsed-time clock, kept by the thread that runs the wait loop.
extern int spinnerIndex;             // next glyph, 0..3; carries over between runs
extern std::uint32_t spinnerCounter; // status ticks modulo 0x20000
extern std::uint32_t lastSecondTick; // timeGetTime() of the second counted last
extern int elapsedHours;
extern int elapsedMinutes;
extern int elapsedSeconds;

// One refresh of both lines; the wait loop calls it on every turn.
void statusTick();
// The elapsed time starts again from 0:00:00 at the clock's present reading.
void restartElapsedClock();
// Writes text into status line 0 or 1 of the setup dialog.
void setStatusLine(const char* text, int line);
