// The simulated registry keeps the RegXxxA result rules the install record relies on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/constants.h"
#include "platform/registry.h"
#include "platform/sim/sim.h"

using namespace platform;

namespace {

const char* const productKey = "SOFTWARE\\Quillane\\Velmora";

class SimRegistry : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
};

TEST_F(SimRegistry, QueryFailsWhenTheValueIsLargerThanTheBuffer) {
    const std::string dir = "c:\\Program Files\\Quillane\\Velmora";
    sim::setStringValue(productKey, "Dir", dir);
    const auto needed = static_cast<std::uint32_t>(dir.size() + 1);

    struct Case {
        std::uint32_t bufferSize;
        Status status;
        bool copied;
    };
    const Case cases[] = {
        {needed - 1, errorMoreData, false},
        {1, errorMoreData, false},
        {needed, errorSuccess, true},
        {260, errorSuccess, true},
    };
    RegKey key = nullptr;
    ASSERT_EQ(regOpenKey(productKey, keyAllAccess, &key), errorSuccess);
    for (const Case& c : cases) {
        char buffer[260];
        std::memset(buffer, '#', sizeof buffer);
        std::uint32_t type = regSz, size = c.bufferSize;
        EXPECT_EQ(regQueryValue(key, "Dir", &type, buffer, &size), c.status) << c.bufferSize;
        EXPECT_EQ(size, needed) << "the size out is the size needed";
        if (c.copied)
            EXPECT_STREQ(buffer, dir.c_str());
        else
            EXPECT_EQ(buffer[0], '#') << "a too-small buffer is not written";
    }
    regCloseKey(key);
}

TEST_F(SimRegistry, QueryOfAMissingValueAndTheSizeQuery) {
    sim::setDwordValue(productKey, "InstType", 2);
    RegKey key = nullptr;
    ASSERT_EQ(regOpenKey(productKey, keyAllAccess, &key), errorSuccess);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(regQueryValue(key, "InstType", &type, nullptr, &size), errorSuccess);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(type, regDword);

    std::uint32_t value = 0;
    size = sizeof value;
    EXPECT_EQ(regQueryValue(key, "instTYPE", &type, &value, &size), errorSuccess)
        << "value names ignore case";
    EXPECT_EQ(value, 2u);

    char buffer[16];
    size = sizeof buffer;
    EXPECT_EQ(regQueryValue(key, "CD", &type, buffer, &size), errorFileNotFound);
    regCloseKey(key);
}

TEST_F(SimRegistry, DeleteRefusesAKeyWithSubkeysAndAMissingKey) {
    sim::createKey("SOFTWARE\\Quillane\\Velmora\\Patches");
    EXPECT_EQ(regDeleteKey("SOFTWARE\\Quillane\\Velmora"), errorAccessDenied);
    EXPECT_TRUE(sim::keyExists(productKey));

    EXPECT_EQ(regDeleteKey("software\\quillane\\velmora\\PATCHES"), errorSuccess);
    EXPECT_FALSE(sim::keyExists("SOFTWARE\\Quillane\\Velmora\\Patches"));
    EXPECT_EQ(regDeleteKey(productKey), errorSuccess);
    EXPECT_FALSE(sim::keyExists(productKey));
    EXPECT_TRUE(sim::keyExists("SOFTWARE\\Quillane"));

    EXPECT_EQ(regDeleteKey(productKey), errorFileNotFound);
    EXPECT_EQ(regDeleteKey("SOFTWARE\\Nobody\\Velmora"), errorFileNotFound);
}

TEST_F(SimRegistry, CreateMakesTheMissingLevelsAndOpensAnExistingKey) {
    RegKey key = nullptr;
    ASSERT_EQ(regCreateKey(productKey, regOptionNonVolatile, keyAllAccess, &key), errorSuccess);
    EXPECT_TRUE(sim::keyExists("SOFTWARE\\Quillane"));
    const char dir[] = "d:\\Games";
    ASSERT_EQ(regSetValue(key, "Dir", regSz, dir, sizeof dir), errorSuccess);
    regCloseKey(key);

    RegKey again = nullptr;
    ASSERT_EQ(regCreateKey("software\\QUILLANE\\Velmora", 0, keyAllAccess, &again), errorSuccess);
    char buffer[32];
    std::uint32_t type = regSz, size = sizeof buffer;
    EXPECT_EQ(regQueryValue(again, "Dir", &type, buffer, &size), errorSuccess)
        << "an existing key is opened, its values kept";
    EXPECT_STREQ(buffer, dir);
    regCloseKey(again);

    ASSERT_TRUE(sim::value(productKey, "Dir"));
    EXPECT_EQ(sim::value(productKey, "Dir")->data, std::string(dir, sizeof dir));
}

TEST_F(SimRegistry, OpenOfAMissingKeyFails) {
    RegKey key = nullptr;
    EXPECT_EQ(regOpenKey(productKey, keyAllAccess, &key), errorFileNotFound);
    EXPECT_EQ(sim::openKeyCount(), 0);
}

TEST_F(SimRegistry, HandlesCountUntilClosedAndADeletedKeyRefusesWrites) {
    RegKey a = nullptr, b = nullptr;
    ASSERT_EQ(regCreateKey(productKey, 0, keyAllAccess, &a), errorSuccess);
    ASSERT_EQ(regOpenKey(productKey, keyAllAccess, &b), errorSuccess);
    EXPECT_EQ(sim::openKeyCount(), 2);

    ASSERT_EQ(regDeleteKey(productKey), errorSuccess);
    const char cd[] = "d:\\Velmora";
    EXPECT_NE(regSetValue(a, "CD", regSz, cd, sizeof cd), errorSuccess);
    EXPECT_FALSE(sim::keyExists(productKey)) << "a write through a stale handle revives nothing";

    EXPECT_EQ(regCloseKey(a), errorSuccess);
    EXPECT_EQ(regCloseKey(b), errorSuccess);
    EXPECT_EQ(sim::openKeyCount(), 0);
    EXPECT_NE(regCloseKey(a), errorSuccess) << "a closed handle is invalid";
}

TEST_F(SimRegistry, TheRecordShowsTheByteCountOfAStringWrite) {
    RegKey key = nullptr;
    ASSERT_EQ(regCreateKey(productKey, 0, keyAllAccess, &key), errorSuccess);
    const char text[] = "c:\\Program Files\\Quillane\\Velmora";
    regSetValue(key, "Dir", regSz, text, static_cast<std::uint32_t>(std::strlen(text) + 1));
    regCloseKey(key);

    auto writes = sim::callsOf(sim::Op::regSetValue);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].texts[0], "Dir");
    EXPECT_EQ(writes[0].texts[1], std::string(text, sizeof text));
    EXPECT_EQ(writes[0].numbers, (std::vector<std::uint64_t>{regSz, sizeof text}));
}

}  // namespace
