// Start-menu shortcuts as the shell reads them back: a link file loaded into
// the shell's link object, its target and working directory asked for.
#pragma once

#include <optional>
#include <string>

namespace e2e {

struct ShellLink {
    std::string target;
    std::string workingDirectory;
};

// The link file at `path` as the shell loads it, or nothing if it cannot.
std::optional<ShellLink> readShellLink(const std::string& path);

// The Programs folder of the all-users Start menu, or "" if the shell has none.
std::string commonProgramsFolder();

}  // namespace e2e
