#include <cstring>
#include <string>

#include "engine_fixture.h"

namespace {

const char* key = "SOFTWARE\\Quillane\\Velmora";

class InstallRecordTest : public EngineTest {
protected:
    void storeRecord(const std::string& dir, const std::string& cd, std::uint32_t type) {
        sim::setStringValue(key, "Dir", dir);
        sim::setStringValue(key, "CD", cd);
        sim::setDwordValue(key, "InstType", type);
    }
    void expectNoKeyOpen() {
        EXPECT_EQ(engine.registryKey, nullptr);
        EXPECT_EQ(sim::openKeyCount(), 0);
    }
    void setFields(const std::string& dir, const std::string& cd, std::int32_t type) {
        text::copy(engine.installDir, sizeof engine.installDir, dir.c_str());
        text::copy(engine.sourceDir, sizeof engine.sourceDir, cd.c_str());
        engine.installType = type;
    }
};

TEST_F(InstallRecordTest, WrittenRecordHasTheStoredLayout) {
    setFields("c:\\Program Files\\Quillane\\Velmora", "e:\\Velmora", 2);
    ASSERT_TRUE(engine.writeInstallRecord());
    expectNoKeyOpen();
    const auto dir = sim::value(key, "Dir");
    ASSERT_TRUE(dir);
    EXPECT_EQ(dir->type, platform::regSz);
    EXPECT_EQ(dir->data, std::string("c:\\Program Files\\Quillane\\Velmora\0\0", 35));
    EXPECT_EQ(sim::value(key, "CD")->data, std::string("e:\\Velmora\0\0", 12));
    const auto type = sim::value(key, "InstType");
    EXPECT_EQ(type->type, platform::regDword);
    EXPECT_EQ(type->data, std::string("\x02\0\0\0", 4));
    // The byte counts passed: length + 2 for texts, 4 for the number; in this order.
    const auto sets = sim::callsOf(sim::Op::regSetValue);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].texts[0], "Dir");
    EXPECT_EQ(sets[0].numbers, (std::vector<std::uint64_t>{platform::regSz, 35}));
    EXPECT_EQ(sets[1].texts[0], "CD");
    EXPECT_EQ(sets[2].texts[0], "InstType");
    EXPECT_EQ(sets[2].numbers, (std::vector<std::uint64_t>{platform::regDword, 4}));
}

TEST_F(InstallRecordTest, BothBytesAfterTheTextAreNulsWhateverTheFieldHeldBefore) {
    setFields("c:\\a much longer folder name", "e:\\Velmora", 1);
    text::copy(engine.installDir, sizeof engine.installDir, "c:\\X");  // garbage after the NUL
    ASSERT_TRUE(engine.writeInstallRecord());
    EXPECT_EQ(sim::value(key, "Dir")->data, std::string("c:\\X\0\0", 6));
}

TEST_F(InstallRecordTest, TextOf258BytesRoundTrips) {
    const std::string dir = "c:\\" + repeat('d', 255);
    ASSERT_EQ(dir.size(), 258u);
    setFields(dir, "e:\\Velmora", 1);
    ASSERT_TRUE(engine.writeInstallRecord());
    EXPECT_EQ(sim::value(key, "Dir")->data.size(), 260u);

    SetupEngine reader;
    ASSERT_TRUE(reader.readInstallRecord());
    EXPECT_EQ(std::string(reader.installDir), dir);
    EXPECT_STREQ(reader.sourceDir, "e:\\Velmora");
    EXPECT_EQ(reader.installType, 1);
    EXPECT_EQ(reader.registryKey, nullptr);
}

TEST_F(InstallRecordTest, WriteRefusesTextsThatCouldNotComeBack) {
    setFields("c:\\" + repeat('d', 256), "e:\\Velmora", 1);  // 259 bytes
    EXPECT_FALSE(engine.writeInstallRecord());
    EXPECT_FALSE(sim::keyExists(key));
    setFields("c:\\Game", "e:\\" + repeat('s', 256), 1);
    EXPECT_FALSE(engine.writeInstallRecord());
    EXPECT_FALSE(sim::keyExists(key));
    expectNoKeyOpen();
}

TEST_F(InstallRecordTest, SecondWriteOpensTheKeyAndKeepsOtherValues) {
    sim::setStringValue(key, "Other", "kept");
    setFields("c:\\Game", "e:\\Velmora", 0);
    ASSERT_TRUE(engine.writeInstallRecord());
    ASSERT_TRUE(engine.writeInstallRecord());
    EXPECT_TRUE(sim::value(key, "Other"));
    EXPECT_EQ(sim::value(key, "InstType")->data, std::string(4, '\0'));
}

TEST_F(InstallRecordTest, StoredValuesOfAnySizeNeverRunPastTheirFields) {
    struct Case { std::string data; bool accepted; } cases[] = {
        {"c:\\" + repeat('d', 256) + std::string(1, '\0'), true},   // 259 + NUL = 260 bytes
        {"c:\\" + repeat('d', 257), false},                         // 260 bytes, no NUL
        {"c:\\" + repeat('d', 258) + std::string(1, '\0'), false},  // 261 bytes
        {"c:\\" + repeat('d', 600) + std::string(2, '\0'), false},
        {std::string("c:\\Game\0", 8), true},
        {"c:\\Game", true},                                          // no NUL, shorter
    };
    for (const auto& c : cases) {
        sim::reset();
        engine.restoreDefaults();
        storeRecord("placeholder", "e:\\Velmora", 1);
        sim::setValue(key, "Dir", platform::regSz, c.data);
        EXPECT_EQ(engine.readInstallRecord(), c.accepted) << c.data.size();
        const std::size_t length = strnlen(engine.installDir, sizeof engine.installDir);
        EXPECT_LT(length, sizeof engine.installDir);
        if (c.accepted) {
            EXPECT_EQ(std::string(engine.installDir), c.data.substr(0, c.data.find('\0')));
        } else {
            EXPECT_STREQ(engine.installDir, "");  // left as it was
        }
        expectNoKeyOpen();
    }
}

TEST_F(InstallRecordTest, OversizedSourceFolderFailsTheReadAfterDir) {
    storeRecord("c:\\Game", "e:\\" + repeat('s', 300), 2);
    EXPECT_FALSE(engine.readInstallRecord());
    EXPECT_STREQ(engine.installDir, "c:\\Game");
    EXPECT_STREQ(engine.sourceDir, "");
    expectNoKeyOpen();
}

TEST_F(InstallRecordTest, RecordWithoutInstTypeFailsButKeepsTheFolders) {
    sim::setStringValue(key, "Dir", "c:\\Game");
    sim::setStringValue(key, "CD", "e:\\Velmora");
    configureAsEntry();
    EXPECT_EQ(engine.installed, 0);
    EXPECT_STREQ(engine.installDir, "c:\\Game");
    EXPECT_STREQ(engine.sourceDir, "e:\\Velmora");
    expectNoKeyOpen();
}

TEST_F(InstallRecordTest, DirOfAnotherTypeIsAccepted) {
    storeRecord("x", "e:\\Velmora", 1);
    sim::setValue(key, "Dir", platform::regExpandSz, std::string("%GAMES%\\Velmora\0", 17));
    EXPECT_TRUE(engine.readInstallRecord());
    EXPECT_STREQ(engine.installDir, "%GAMES%\\Velmora");
}

TEST_F(InstallRecordTest, EachFailingReadStepLeavesWhatWasReadBefore) {
    struct Case { sim::Op op; int call; const char* dir; const char* cd; std::int32_t type; } cases[] = {
        {sim::Op::regOpenKey, 1, "", "", 0},
        {sim::Op::regQueryValue, 1, "", "", 0},
        {sim::Op::regQueryValue, 2, "c:\\Game", "", 0},
        {sim::Op::regQueryValue, 3, "c:\\Game", "e:\\Velmora", 0},
    };
    for (const auto& c : cases) {
        sim::reset();
        engine.restoreDefaults();
        storeRecord("c:\\Game", "e:\\Velmora", 2);
        sim::fail(c.op, c.call, 1);
        EXPECT_FALSE(engine.readInstallRecord());
        EXPECT_STREQ(engine.installDir, c.dir);
        EXPECT_STREQ(engine.sourceDir, c.cd);
        EXPECT_EQ(engine.installType, c.type);
        expectNoKeyOpen();
    }
}

TEST_F(InstallRecordTest, EachFailingWriteStepLeavesWhatWasWrittenBefore) {
    struct Case { sim::Op op; int call; bool key, dir, cd, type; } cases[] = {
        {sim::Op::regCreateKey, 1, false, false, false, false},
        {sim::Op::regSetValue, 1, true, false, false, false},
        {sim::Op::regSetValue, 2, true, true, false, false},
        {sim::Op::regSetValue, 3, true, true, true, false},
    };
    for (const auto& c : cases) {
        sim::reset();
        engine.restoreDefaults();
        setFields("c:\\Game", "e:\\Velmora", 1);
        sim::fail(c.op, c.call, 1);
        EXPECT_FALSE(engine.writeInstallRecord());
        EXPECT_EQ(sim::keyExists(key), c.key);
        EXPECT_EQ(sim::value(key, "Dir").has_value(), c.dir);
        EXPECT_EQ(sim::value(key, "CD").has_value(), c.cd);
        EXPECT_EQ(sim::value(key, "InstType").has_value(), c.type);
        expectNoKeyOpen();
    }
}

TEST_F(InstallRecordTest, DeleteRemovesOnlyTheLastLevelAndFailsTheSecondTime) {
    storeRecord("c:\\Game", "e:\\Velmora", 1);
    EXPECT_TRUE(engine.deleteInstallRecord(key));
    EXPECT_FALSE(sim::keyExists(key));
    EXPECT_TRUE(sim::keyExists("SOFTWARE\\Quillane"));
    EXPECT_FALSE(engine.deleteInstallRecord(key));
    expectNoKeyOpen();
}

TEST_F(InstallRecordTest, KeyWithSubkeysIsNotDeleted) {
    storeRecord("c:\\Game", "e:\\Velmora", 1);
    sim::createKey(std::string(key) + "\\Sub");
    EXPECT_FALSE(engine.deleteInstallRecord(key));
    EXPECT_TRUE(sim::keyExists(key));
}

TEST_F(InstallRecordTest, TeardownClosesAKeyLeftOpen) {
    storeRecord("c:\\Game", "e:\\Velmora", 1);
    ASSERT_TRUE(engine.openRecordKey(key));
    EXPECT_EQ(sim::openKeyCount(), 1);
    engine.teardown();
    expectNoKeyOpen();
}

}  // namespace
