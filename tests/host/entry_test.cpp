#include <gtest/gtest.h>

#include <string>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/sim/sim.h"
#include "shell/entry.h"
#include "shell/main_window.h"
#include "shell/product_profile.h"
#include "ui/dialog_ids.h"

namespace {

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::reset();
        setupEngine.restoreDefaults();
        savedEntry0 = productProfile.installList[0];
        sim::defineDialogTemplate(
            ids::updateTemplate,
            {{1008, "button", "アップデート"}, {2, "button", "ｷｬﾝｾﾙ"}, {1009, "static", "Static"}},
            {0, 0, 300, 100});
    }
    void TearDown() override {
        productProfile.installList[0] = savedEntry0;
        setupEngine.teardown();
    }
    int run() { return runSetupProgram(reinterpret_cast<platform::Instance>(0x400000), nullptr,
                                       platform::swShowNormal, ids::updateTemplate); }
    const char* savedEntry0;
};

TEST_F(EntryTest, CancelEndsWithZeroAfterConfiguring) {
    bool ran = false;
    sim::onDialog(ids::updateTemplate, [&](platform::Window dialog) {
        ran = true;
        EXPECT_STREQ(fileListEntry(setupEngine.installFiles, 0), "Velmora.exe");
        EXPECT_EQ(setupEngine.progressControlId, 1005);
        sim::command(dialog, ids::cancel);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(ran);
    EXPECT_NE(mainWindow, nullptr);
    // The class and the window the single-instance test looks for.
    const auto classes = sim::callsOf(sim::Op::registerWindowClass);
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0].texts.at(0), productProfile.windowClassName);
    const auto windows = sim::callsOf(sim::Op::createWindow);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].texts.at(0), productProfile.windowClassName);
    EXPECT_EQ(windows[0].texts.at(1), "Velmora");
}

TEST_F(EntryTest, SecondCopyEndsAtOnceShowingNothing) {
    sim::addTopLevelWindow(productProfile.windowClassName, "Velmora");
    sim::onDialog(ids::updateTemplate, [](platform::Window) { ADD_FAILURE() << "dialog shown"; });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(sim::callCount(sim::Op::dialogBox), 0);
    EXPECT_EQ(sim::callCount(sim::Op::registerWindowClass), 0);
    EXPECT_TRUE(sim::boxes().empty());
}

TEST_F(EntryTest, AWindowOfTheSameTitleButAnotherClassDoesNotStopIt) {
    sim::addTopLevelWindow("VelmoraGameWindow", "Velmora");
    bool ran = false;
    sim::onDialog(ids::updateTemplate, [&](platform::Window dialog) {
        ran = true;
        sim::command(dialog, 1002);
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(ran);
}

TEST_F(EntryTest, FailuresToMakeTheMainWindowEndSilentlyWithZero) {
    for (sim::Op op : {sim::Op::registerWindowClass, sim::Op::createWindow}) {
        sim::reset();
        sim::fail(op);
        EXPECT_EQ(run(), 0);
        EXPECT_EQ(sim::callCount(sim::Op::dialogBox), 0);
        EXPECT_EQ(setupEngine.installFiles, nullptr) << "nothing configured";
    }
}

TEST_F(EntryTest, DialogThatCannotBeShownEndsWithAnExitCodeInsteadOfPolling) {
    sim::fail(sim::Op::dialogBox);
    EXPECT_EQ(run(), dialogFailedExitCode);
}

TEST_F(EntryTest, MainWindowPostsQuitWhenDestroyedFromOutside) {
    EXPECT_EQ(mainWindowProc(nullptr, platform::wmDestroy, 0, 0), 0);
    EXPECT_EQ(sim::quitCode(), 0);
}

}  // namespace
