// What the install record relies on from the real registry: a value that does not fit
// its buffer is refused, and a key with subkeys is not deleted.
#include <gtest/gtest.h>

#include <string>

#include "platform/constants.h"
#include "platform/registry.h"

namespace {

const char* const kBase = "SOFTWARE\\Quillane\\VelmoraBackendTest";

class BackendRegistry : public ::testing::Test {
protected:
    void SetUp() override { removeAll(); }
    void TearDown() override { removeAll(); }
    static void removeAll() {
        platform::regDeleteKey((std::string(kBase) + "\\Child").c_str());
        platform::regDeleteKey(kBase);
    }
    static platform::RegKey create(const std::string& path) {
        platform::RegKey key = nullptr;
        EXPECT_EQ(platform::regCreateKey(path.c_str(), platform::regOptionNonVolatile,
                                         platform::keyAllAccess, &key),
                  platform::errorSuccess);
        return key;
    }
    static bool exists(const std::string& path) {
        platform::RegKey key = nullptr;
        if (platform::regOpenKey(path.c_str(), platform::keyAllAccess, &key) !=
            platform::errorSuccess)
            return false;
        platform::regCloseKey(key);
        return true;
    }
};

TEST_F(BackendRegistry, QueryFailsWithMoreDataWhenTheValueDoesNotFit) {
    const char text[] = "c:\\Program Files\\Quillane\\Velmora";  // with its NUL
    const std::uint32_t stored = sizeof text;
    struct Case {
        const char* name;
        std::uint32_t bufferSize;
        platform::Status status;
    };
    const Case cases[] = {
        {"Dir", stored + 1, platform::errorSuccess},
        {"Dir", stored, platform::errorSuccess},
        {"Dir", stored - 1, platform::errorMoreData},  // only the NUL is missing
        {"Dir", 1, platform::errorMoreData},
        {"Missing", stored, platform::errorFileNotFound},
    };
    platform::RegKey key = create(kBase);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(platform::regSetValue(key, "Dir", platform::regSz, text, stored),
              platform::errorSuccess);

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(c.bufferSize));
        char buffer[64] = {};
        ASSERT_LE(c.bufferSize, sizeof buffer);
        std::uint32_t type = 0;
        std::uint32_t size = c.bufferSize;
        EXPECT_EQ(platform::regQueryValue(key, c.name, &type, buffer, &size), c.status);
        if (c.status == platform::errorSuccess) {
            EXPECT_EQ(type, platform::regSz);
            EXPECT_EQ(size, stored);
            EXPECT_STREQ(buffer, text);
        } else if (c.status == platform::errorMoreData) {
            EXPECT_EQ(size, stored);  // the size it would need
        }
    }
    EXPECT_EQ(platform::regCloseKey(key), platform::errorSuccess);
}

TEST_F(BackendRegistry, DeleteRefusesAKeyWithSubkeysAndTakesItWithout) {
    const std::string child = std::string(kBase) + "\\Child";
    platform::RegKey key = create(child);
    ASSERT_NE(key, nullptr);
    platform::regCloseKey(key);

    EXPECT_EQ(platform::regDeleteKey(kBase), platform::errorAccessDenied);
    EXPECT_TRUE(exists(child));

    EXPECT_EQ(platform::regDeleteKey(child.c_str()), platform::errorSuccess);
    EXPECT_EQ(platform::regDeleteKey(kBase), platform::errorSuccess);
    EXPECT_FALSE(exists(kBase));
    EXPECT_EQ(platform::regDeleteKey(kBase), platform::errorFileNotFound);
}

}  // namespace
