// Which program the shell opens a file type with, changed for a test and put
// back afterwards: the extension's key under HKEY_CLASSES_ROOT names a class
// whose shell\open\command starts the program with the file as "%1".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

class FileAssociation {
public:
    // Registers class `progId` opening with `program` and points each of
    // `extensions` (".txt") at it. ok() tells whether the registry took it all.
    FileAssociation(const std::string& progId, const std::string& program,
                    const std::vector<std::string>& extensions);
    FileAssociation(const FileAssociation&) = delete;
    FileAssociation& operator=(const FileAssociation&) = delete;
    // Gives each extension its earlier class back and removes `progId`.
    ~FileAssociation();

    bool ok() const { return ok_; }

private:
    struct Saved {
        std::string extension;
        std::optional<std::string> progId;
    };
    std::string progId_;
    std::vector<Saved> saved_;
    bool ok_ = false;
};

}  // namespace e2e
