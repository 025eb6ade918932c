// One run of a program under test, started on the test desktop.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // A program still running is ended, so that the next case starts clean.
    ~Program();

    // Starts `exePath` with `folder` as its current folder. False if it could not start.
    bool start(const std::string& exePath, const std::string& folder);

    DWORD id() const { return info_.dwProcessId; }
    bool running() const;
    // The exit code once the program has ended within `timeoutMs`, else nothing.
    std::optional<DWORD> waitForExit(DWORD timeoutMs);
    // Ends the program at once and waits for it to be gone.
    void kill();

private:
    PROCESS_INFORMATION info_{};
};

// The folder of the running driver, where the build puts Update.exe beside it.
std::string driverFolder();

}  // namespace e2e
