#include "tests/wine/e2e/file_association.h"

#include <windows.h>

namespace e2e {

namespace {

std::optional<std::string> defaultValue(const std::string& key) {
    char data[512] = {};
    LONG size = sizeof data - 1;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

bool setDefaultValue(const std::string& key, const std::string& value) {
    return RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
}

}  // namespace

FileAssociation::FileAssociation(const std::string& progId, const std::string& program,
                                 const std::vector<std::string>& extensions)
    : progId_(progId) {
    ok_ = setDefaultValue(progId + "\\shell\\open\\command", "\"" + program + "\" \"%1\"");
    for (const std::string& extension : extensions) {
        saved_.push_back({extension, defaultValue(extension)});
        ok_ = setDefaultValue(extension, progId) && ok_;
    }
}

FileAssociation::~FileAssociation() {
    for (const Saved& s : saved_) {
        if (s.progId) {
            setDefaultValue(s.extension, *s.progId);
        } else {
            RegDeleteKeyA(HKEY_CLASSES_ROOT, s.extension.c_str());
        }
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, progId_.c_str());
}

}  // namespace e2e
