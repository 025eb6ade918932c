#include "tests/wine/e2e/program.h"

#include <vector>

#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/wait.h"

namespace e2e {

Program::~Program() {
    kill();
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool Program::start(const std::string& exePath, const std::string& folder) {
    if (info_.hProcess) return false;  // one run per object
    // CreateProcessA may write into the command line.
    std::vector<char> commandLine(exePath.size() + 3, '\0');
    commandLine[0] = '"';
    exePath.copy(commandLine.data() + 1, exePath.size());
    commandLine[exePath.size() + 1] = '"';
    std::string desktop = testDesktopName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    return CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info_) != FALSE;
}

bool Program::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Program::waitForExit(DWORD timeoutMs) {
    if (!info_.hProcess || !waitForObject(info_.hProcess, timeoutMs)) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
    return code;
}

void Program::kill() {
    if (!running()) return;
    TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, exitTimeoutMs);
}

std::string driverFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length < sizeof path ? length : 0);
    // A trail byte of a double-byte character may be 0x5C: not a separator.
    std::size_t slash = std::string::npos;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(folder[i]))) {
            ++i;
        } else if (folder[i] == '\\') {
            slash = i;
        }
    }
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

}  // namespace e2e
