#include "tests/wine/e2e/update_scene.h"

#include "tests/wine/e2e/files.h"

namespace e2e {

namespace {

bool put(const std::string& path, const std::string& contents) {
    return makeFolders(parentFolder(path)) && writeFile(path, contents);
}

}  // namespace

bool UpdateScene::clear() {
    const bool folders = removeTree(testRoot) && removeTree(installFolder);
    return deleteInstallRecord() && folders;
}

bool UpdateScene::placeProgram(const std::string& builtProgram) {
    return makeFolders(programFolder) && copyFile(builtProgram, programPath());
}

bool UpdateScene::recordInstallation(const std::string& cd, DWORD type) {
    record_ = InstallRecord{installFolder, cd, type};
    return makeFolders(installFolder) && writeInstallRecord(record_);
}

bool UpdateScene::install(const std::string& name, const std::string& contents,
                          const FILETIME& time, bool readOnly) {
    const std::string path = installedPath(name);
    return put(path, contents) && setFileTimes(path, time, time) &&
           (!readOnly || setReadOnly(path));
}

bool UpdateScene::stage(const std::string& name, const std::string& contents,
                        const FILETIME& lastAccess, const FILETIME& lastWrite) {
    const std::string path = stagedPath(name);
    return put(path, contents) && setFileTimes(path, lastAccess, lastWrite);
}

std::string UpdateScene::programPath() const { return std::string(programFolder) + "\\Update.exe"; }

std::string UpdateScene::installedPath(const std::string& name) const {
    return std::string(installFolder) + "\\" + name;
}

std::string UpdateScene::stagedPath(const std::string& name) const {
    return std::string(updateFolder) + "\\" + name;
}

}  // namespace e2e
