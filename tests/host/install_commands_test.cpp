#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/sim/sim.h"
#include "platform/windowing.h"
#include "shell/product_profile.h"
#include "ui/component_dialog.h"
#include "ui/dialog_ids.h"
#include "ui/folder_chooser.h"
#include "ui/setup_dialog.h"

namespace {

const char* recordKey = "SOFTWARE\\Quillane\\Velmora";
const char* failureText =
    "インストールが正常に行われませんでした。\nもう一度ご確認の上、インストールを行ってください。";

struct Expect { int id; bool enabled; };

class InstallCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::reset();
        setupEngine.restoreDefaults();
        savedEntry0 = productProfile.installList[0];
        productProfile.installList[0] = productProfile.executableName;
        sim::setModulePath("c:\\Setup\\Setup.exe");
        setupEngine.configure(productProfile.installList, productProfile.extraList,
                              productProfile.mediaLabelList, nullptr, "Quillane", "Velmora",
                              "Velmora", 1);
        setupEngine.setProgressControl(ids::progressBar);
        for (int i = 0; i < 12; ++i)
            sim::writeFileOfSize(std::string("c:\\Setup\\Velmora\\") +
                                     fileListEntry(setupEngine.installFiles, i), 200000);
        folderChooser.init(reinterpret_cast<platform::Instance>(0x400000), nullptr);
        sim::defineDialogTemplate(ids::componentTemplate,
                                  {{1011, "static", ""}, {1012, "button", "OK"},
                                   {1013, "button", "Cancel"}, {1015, "button", ""},
                                   {1020, "button", ""}, {1021, "button", ""},
                                   {1022, "button", ""}, {1023, "button", ""}},
                                  {0, 0, 200, 100});
        answerComponents(1012);
    }
    void TearDown() override {
        sim::joinThreads();
        if (dialog) setupDialogProc(dialog, platform::wmDestroy, 0, 0);
        setupEngine.teardown();
        productProfile.installList[0] = savedEntry0;
    }
    void answerComponents(int button) {
        sim::onDialog(ids::componentTemplate,
                      [button](platform::Window d) { sim::command(d, button); });
    }
    void openForm(int installed) {
        setupEngine.installed = installed;
        std::vector<sim::Control> controls = {{1008, "button", "アップデート"},
                                              {1009, "static", ""},
                                              {2, "button", "キャンセル"},
                                              {1000, "button", "インストール"}};
        for (int id : {1001, 1002, 1003, 1006, 1014, 1020}) controls.push_back({id, "button", ""});
        for (int id : {1004, 1017, 1018, 1019, 1021}) controls.push_back({id, "static", ""});
        controls.push_back({1005, "msctls_progress32", ""});
        dialog = sim::makeDialog(controls, {0, 0, 400, 300});
        setupDialogProc(dialog, platform::wmInitDialog, 0, 0);
    }
    platform::Result command(int id) {
        return setupDialogProc(dialog, platform::wmCommand, static_cast<platform::WParam>(id), 0);
    }
    void expectStates(std::initializer_list<Expect> states, const char* moment) {
        for (const auto& s : states)
            EXPECT_EQ(sim::controlEnabled(dialog, s.id), s.enabled) << moment << ": " << s.id;
    }
    std::vector<std::string> boxTexts() {
        std::vector<std::string> texts;
        for (const auto& b : sim::boxes()) texts.push_back(b.text);
        return texts;
    }
    platform::Window dialog = nullptr;
    const char* savedEntry0 = nullptr;
};

TEST_F(InstallCommandsTest, SuccessfulInstallEnablesTheInstalledCommands) {
    openForm(0);
    EXPECT_EQ(command(1000), 1);
    EXPECT_EQ(sim::controlText(dialog, 1000), "中断");
    sim::joinThreads();
    expectStates({{1000, false}, {1014, true}, {1001, true}, {1006, true}, {1020, true},
                  {2, true}, {1003, false}},
                 "install succeeded");
    EXPECT_EQ(sim::controlText(dialog, 1000), "インストール");
    EXPECT_EQ(setupEngine.installed, 1);
    EXPECT_TRUE(sim::keyExists(recordKey));
    EXPECT_EQ(sim::readFile("c:\\Program Files\\Quillane\\Velmora\\grd.pac").size(), 200000u);
}

TEST_F(InstallCommandsTest, CancelledComponentChoiceStartsNothing) {
    openForm(0);
    answerComponents(1013);
    EXPECT_EQ(command(1000), 1);
    EXPECT_EQ(sim::callCount(sim::Op::createThread), 0);
    EXPECT_EQ(sim::controlText(dialog, 1000), "インストール");
    expectStates({{1000, true}, {1003, true}, {1014, false}, {1001, false}}, "cancelled");
}

TEST_F(InstallCommandsTest, FailedInstallShowsItsMessagesAndReturnsToNotInstalled) {
    sim::setFreeBytes('c', 0);
    setupEngine.requiredMegabytes = 1;
    openForm(0);
    command(1000);
    sim::joinThreads();
    const auto texts = boxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("ドライブの空き容量が足りません"), std::string::npos);
    EXPECT_EQ(texts[1], failureText);
    EXPECT_EQ(sim::boxes()[1].owner, dialog);
    EXPECT_EQ(sim::boxes()[1].caption, "確認");
    expectStates({{1000, true}, {1006, true}, {1020, true}, {2, true}, {1003, true},
                  {1001, false}, {1014, false}},
                 "install failed");
    EXPECT_EQ(sim::controlText(dialog, 1000), "インストール");
    EXPECT_EQ(setupEngine.installed, 0);
}

TEST_F(InstallCommandsTest, AbortDuringTheCopyDisablesTheButtonAndCleansUp) {
    openForm(0);
    bool sawDisabled = false;
    sim::onCall([&](const sim::Call& call) {
        if (call.op == sim::Op::readStream && sim::callCount(sim::Op::readStream) == 3) {
            command(1000);  // the user presses 中断
            sawDisabled = !sim::controlEnabled(dialog, 1000);
        }
    });
    command(1000);
    sim::joinThreads();
    sim::onCall(nullptr);
    EXPECT_TRUE(sawDisabled);
    const auto texts = boxTexts();  // the folder question, then the failure
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("フォルダを作成します"), std::string::npos);
    EXPECT_EQ(texts[1], failureText);
    EXPECT_FALSE(sim::keyExists(recordKey));
    for (int i = 0; i < 12; ++i)
        EXPECT_FALSE(sim::fileExists(std::string("c:\\Program Files\\Quillane\\Velmora\\") +
                                     fileListEntry(setupEngine.installFiles, i)));
    expectStates({{1000, true}, {1003, true}, {1006, true}, {1020, true}, {2, true},
                  {1001, false}, {1014, false}},
                 "after the abort");
    EXPECT_EQ(sim::controlText(dialog, 1000), "インストール");
}

TEST_F(InstallCommandsTest, InstallCommandOutsideTheCopyStartsNoSecondInstall) {
    openForm(0);
    // The folder question is on screen (the install thread, before the copy).
    sim::onCall([&](const sim::Call& call) {
        if (call.op == sim::Op::messageBox && sim::callCount(sim::Op::messageBox) == 1)
            EXPECT_EQ(command(1000), 1);
    });
    command(1000);
    sim::joinThreads();
    sim::onCall(nullptr);
    EXPECT_EQ(sim::callCount(sim::Op::dialogBox), 1) << "component dialog opened once";
    EXPECT_EQ(setupEngine.installed, 1);
    EXPECT_EQ(sim::callCount(sim::Op::createThread), 2) << "one install thread, one worker";
}

TEST_F(InstallCommandsTest, ThreadThatCannotStartRepliesZero) {
    openForm(0);
    sim::fail(sim::Op::createThread);
    EXPECT_EQ(command(1000), 0);
    EXPECT_EQ(sim::controlText(dialog, 1000), "インストール");
    EXPECT_TRUE(sim::boxes().empty());
}

TEST_F(InstallCommandsTest, ExitDuringTheCopyStopsItWaitsAndEnds) {
    openForm(0);
    std::atomic<bool> copying{false};
    std::atomic<bool> exitAsked{false};
    std::atomic<bool> exitSent{false};
    sim::onCall([&](const sim::Call& call) {
        if (call.op == sim::Op::readStream && sim::callCount(sim::Op::readStream) == 1) {
            copying = true;
            for (int i = 0; i < 5000 && !exitAsked; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    // The worker goes on once the exit has begun to wait (serving the queue).
    sim::onIdle([&] {
        if (exitSent) exitAsked = true;
    });
    command(1000);
    for (int i = 0; i < 5000 && !copying; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(copying);
    exitSent = true;
    EXPECT_EQ(command(1002), 1);
    sim::onCall(nullptr);
    EXPECT_TRUE(sim::dialogEnded(dialog));
    EXPECT_EQ(sim::quitCode(), 0);
    EXPECT_FALSE(setupEngine.isBusy());
    const auto texts = boxTexts();
    ASSERT_EQ(texts.size(), 1u) << "the folder question, no failure message on the way out";
    EXPECT_NE(texts[0].find("フォルダを作成します"), std::string::npos);
    EXPECT_FALSE(sim::keyExists(recordKey));
    EXPECT_FALSE(sim::fileExists("c:\\Program Files\\Quillane\\Velmora\\Velmora.exe"));
}

TEST_F(InstallCommandsTest, UninstallCompletedResetsTypeAndStates) {
    sim::setStringValue(recordKey, "Dir", "c:\\Game");
    openForm(1);
    setupEngine.setInstallType(2, 0, 9999);
    EXPECT_EQ(command(1014), 1);
    EXPECT_EQ(setupEngine.installType, 0);
    EXPECT_EQ(setupEngine.firstFile, 0);
    EXPECT_EQ(setupEngine.endFile, 9999);
    expectStates({{1000, true}, {1014, false}, {1001, false}, {1003, true}}, "uninstalled");
}

TEST_F(InstallCommandsTest, DeclinedUninstallChangesNothing) {
    sim::setStringValue(recordKey, "Dir", "c:\\Game");
    openForm(1);
    setupEngine.setInstallType(2, 0, 11);
    sim::answerBoxes({platform::idNo});
    EXPECT_EQ(command(1014), 1);
    EXPECT_EQ(setupEngine.installType, 2);
    EXPECT_EQ(setupEngine.endFile, 11);
    expectStates({{1000, false}, {1014, true}, {1001, true}, {1003, false}}, "declined");
}

TEST_F(InstallCommandsTest, ChoosingADriveRootStoresItWithoutItsBackslash) {
    openForm(0);
    sim::answerBrowse(std::string("D:\\"));
    EXPECT_EQ(command(1003), 1);
    EXPECT_STREQ(setupEngine.installBase, "D:");
    EXPECT_EQ(sim::controlText(dialog, 1004), "D:\\Quillane\\Velmora");
    // Cancelling keeps the folder and shows it again.
    sim::answerBrowse(std::nullopt);
    command(1003);
    EXPECT_STREQ(setupEngine.installBase, "D:");
    EXPECT_EQ(sim::controlText(dialog, 1004), "D:\\Quillane\\Velmora");
}

TEST_F(InstallCommandsTest, StartGameEndsTheProgramOnlyWhenLaunched) {
    openForm(1);
    text::copy(setupEngine.installDir, sizeof setupEngine.installDir, "c:\\Game");
    sim::setCoInitializeResult(platform::eOutOfMemory);
    EXPECT_EQ(command(1001), 1);
    EXPECT_FALSE(sim::dialogEnded(dialog));
    sim::setCoInitializeResult(platform::sOk);
    EXPECT_EQ(command(1001), 1);
    EXPECT_TRUE(sim::dialogEnded(dialog));
    EXPECT_EQ(sim::quitCode(), 0);
    ASSERT_EQ(sim::executed().size(), 1u);
    EXPECT_EQ(sim::executed()[0].file, "c:\\Game\\Velmora.exe");
}

TEST_F(InstallCommandsTest, ReadmeAndManualOpenTheirDocuments) {
    openForm(0);
    command(1006);
    command(1020);
    const auto runs = sim::executed();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].file, "c:\\Setup\\Velmora\\readme.txt");
    EXPECT_EQ(runs[1].file, "c:\\Setup\\manual\\manual.html");
}

}  // namespace
