// Proves the Wine harness: the prefix speaks code page 932, literals are
// compiled to Shift_JIS, and HKEY_LOCAL_MACHINE is writable.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WineHarness, AnsiCodePageIsShiftJis) { EXPECT_EQ(GetACP(), 932u); }

TEST(WineHarness, IdeographicSpaceLiteralIsShiftJisAndDecodesBack) {
    const char text[] = "　";
    ASSERT_EQ(sizeof text, 3u);
    EXPECT_EQ(static_cast<unsigned char>(text[0]), 0x81);
    EXPECT_EQ(static_cast<unsigned char>(text[1]), 0x40);

    // The runtime's ANSI page must read the compiler's bytes as the same character.
    wchar_t wide[4] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 4), 2);
    EXPECT_EQ(wide[0], L'\x3000');
}

// Each case starts from a key that does not exist and removes it again.
class MachineRegistry : public ::testing::Test {
protected:
    static constexpr const char* keyPath = "SOFTWARE\\Quillane\\HarnessSmoke";
    HKEY key = nullptr;

    void SetUp() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath);
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                  &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    }
    void TearDown() override {
        if (key) RegCloseKey(key);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath);
    }
};

TEST_F(MachineRegistry, StringAndDwordSurviveReopening) {
    // A folder name with a trail byte of 0x5C ("ソ" is 83 5C) must come back unchanged.
    const std::string folder = "c:\\Program Files\\ソフト";
    const DWORD number = 0x12345678;
    ASSERT_EQ(RegSetValueExA(key, "Dir", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(folder.c_str()),
                             static_cast<DWORD>(folder.size() + 1)),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "InstType", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
    RegCloseKey(key);
    key = nullptr;

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    char text[260] = {};
    DWORD type = 0;
    DWORD size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "Dir", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, folder.size() + 1);
    EXPECT_EQ(std::string(text), folder);

    DWORD read = 0;
    size = sizeof read;
    ASSERT_EQ(RegQueryValueExA(key, "InstType", nullptr, &type, reinterpret_cast<BYTE*>(&read),
                               &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(read, number);
}

TEST_F(MachineRegistry, DeletedKeyCannotBeOpened) {
    RegCloseKey(key);
    key = nullptr;
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath), ERROR_SUCCESS);
    HKEY reopened = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, &reopened),
              ERROR_FILE_NOT_FOUND);
}

}  // namespace
