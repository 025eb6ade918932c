// The engine core on real Windows: the installation record in HKLM and the
// search for the install disc among the CD-ROM drives (engine_core_test.sh
// makes e: the disc and f: a disc whose label differs in case).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/setup_engine.h"
#include "shell/product_profile.h"
#include "shell/profile_configuration.h"

namespace {

const char* keyPath = "SOFTWARE\\Quillane\\Velmora";

std::string storedValue(const char* name, DWORD* type) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char data[1024];
    DWORD size = sizeof data;
    const LONG status = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(data, size) : std::string();
}

std::string programFolderOfThisTest() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s(path);
    return s.substr(0, s.rfind('\\'));
}

void configureAsEntry(SetupEngine& engine) { configureFromProfile(engine); }

TEST(InstallRecordUnderWine, WrittenReadBackAndDeletedInHklm) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath);
    SetupEngine writer;
    text::copy(writer.installDir, sizeof writer.installDir, "C:\\Program Files\\Quillane\\Velmora");
    text::copy(writer.sourceDir, sizeof writer.sourceDir, "e:\\Velmora");
    writer.installType = 2;
    ASSERT_TRUE(writer.writeInstallRecord());
    EXPECT_EQ(writer.registryKey, nullptr);

    DWORD type = 0;
    EXPECT_EQ(storedValue("Dir", &type), std::string("C:\\Program Files\\Quillane\\Velmora\0\0", 35));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(storedValue("InstType", &type), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

    SetupEngine reader;
    configureAsEntry(reader);
    EXPECT_EQ(reader.installed, 1);
    EXPECT_STREQ(reader.installDir, "C:\\Program Files\\Quillane\\Velmora");
    EXPECT_STREQ(reader.sourceDir, "e:\\Velmora");
    EXPECT_EQ(reader.installType, 2);
    EXPECT_EQ(reader.registryKey, nullptr);

    EXPECT_TRUE(reader.deleteInstallRecord(keyPath));
    EXPECT_FALSE(reader.deleteInstallRecord(keyPath));
    SetupEngine after;
    configureAsEntry(after);
    EXPECT_EQ(after.installed, 0);
}

TEST(InstallRecordUnderWine, OversizedStoredDirMeansNotInstalled) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const std::string dir = "c:\\" + std::string(300, 'd');
    RegSetValueExA(key, "Dir", 0, REG_SZ, reinterpret_cast<const BYTE*>(dir.c_str()),
                   static_cast<DWORD>(dir.size() + 1));
    RegSetValueExA(key, "CD", 0, REG_SZ, reinterpret_cast<const BYTE*>("e:\\Velmora"), 11);
    DWORD two = 2;
    RegSetValueExA(key, "InstType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), 4);
    RegCloseKey(key);

    SetupEngine engine;
    configureAsEntry(engine);
    EXPECT_EQ(engine.installed, 0);
    EXPECT_LT(strnlen(engine.installDir, sizeof engine.installDir), sizeof engine.installDir);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath);
}

TEST(FindSourceUnderWine, FindsTheDiscByLabelAndProbeFile) {
    ASSERT_EQ(GetDriveTypeA("e:\\"), static_cast<UINT>(DRIVE_CDROM)) << "engine_core_test.sh made no disc";
    char label[260] = {};
    EXPECT_EQ(classifyDrive("e:\\", label, sizeof label), driveCdRom);
    EXPECT_STREQ(label, "Velmora");

    SetupEngine engine;
    configureAsEntry(engine);
    EXPECT_STREQ(engine.sourceDir, "e:\\Velmora");
}

TEST(FindSourceUnderWine, WithoutTheProbeFileFallsBackToTheProgramsFolder) {
    // The disc keeps its label but loses the game's executable; f:'s label
    // differs in case and must not be taken either.
    ASSERT_TRUE(DeleteFileA("e:\\Velmora\\Velmora.exe"));
    SetupEngine engine;
    configureAsEntry(engine);
    EXPECT_EQ(std::string(engine.sourceDir), programFolderOfThisTest() + "\\Velmora");
}

}  // namespace
