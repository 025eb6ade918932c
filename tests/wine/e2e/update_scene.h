// The state an update run starts from: an installed game (record and files)
// and, in a test folder, a copy of Update.exe with the "Velmora" folder of new
// files beside it. Shared by the end-to-end tests and the demo.
#pragma once

#include <windows.h>

#include <string>

#include "tests/wine/e2e/install_record.h"

namespace e2e {

class UpdateScene {
public:
    static constexpr const char* testRoot = "C:\\velmora-e2e";
    static constexpr const char* programFolder = "C:\\velmora-e2e\\program";
    static constexpr const char* updateFolder = "C:\\velmora-e2e\\program\\Velmora";
    static constexpr const char* installFolder = "C:\\Games\\Quillane\\Velmora";

    // Removes what an earlier run left: both folders and the record.
    bool clear();
    // Copies the built program into the test folder.
    bool placeProgram(const std::string& builtProgram);
    // Records an installation in installFolder, installed from `cd`.
    bool recordInstallation(const std::string& cd = "E:\\Velmora", DWORD type = 1);

    // An installed file, with both times set to `time`. `name` is a list
    // name and may hold a forward slash ("movie/ED.mpg").
    bool install(const std::string& name, const std::string& contents, const FILETIME& time,
                 bool readOnly = false);
    // A new version in the update folder with distinct access and write times.
    bool stage(const std::string& name, const std::string& contents, const FILETIME& lastAccess,
               const FILETIME& lastWrite);

    std::string programPath() const;
    std::string installedPath(const std::string& name) const;
    std::string stagedPath(const std::string& name) const;
    InstallRecord expectedRecord() const { return record_; }

private:
    InstallRecord record_;
};

}  // namespace e2e
