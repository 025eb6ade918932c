#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/sim/sim.h"
#include "platform/windowing.h"
#include "ui/dialog_ids.h"
#include "ui/setup_dialog.h"
#include "ui/static_colours.h"

namespace {

using platform::Rect;

std::vector<sim::Control> updateForm() {
    return {{1008, "button", "アップデート"}, {2, "button", "ｷｬﾝｾﾙ"}, {1009, "static", "Static"}};
}

std::vector<sim::Control> fullForm() {
    std::vector<sim::Control> controls = updateForm();
    for (int id : {1000, 1001, 1002, 1003, 1006, 1014, 1020})
        controls.push_back({id, "button", "b"});
    for (int id : {1004, 1017, 1018, 1019, 1021}) controls.push_back({id, "static", ""});
    controls.push_back({1005, "msctls_progress32", ""});
    return controls;
}

class SetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::reset();
        setupEngine.restoreDefaults();
    }
    void TearDown() override {
        if (dialog) setupDialogProc(dialog, platform::wmDestroy, 0, 0);
        setupEngine.teardown();
    }
    platform::Result start(std::vector<sim::Control> controls, Rect rect = {0, 0, 300, 100}) {
        dialog = sim::makeDialog(std::move(controls), rect);
        return setupDialogProc(dialog, platform::wmInitDialog, 0, 0);
    }
    platform::Result command(platform::WParam wParam) {
        return setupDialogProc(dialog, platform::wmCommand, wParam, 0);
    }
    platform::Result colour(platform::DeviceContext dc, int id) {
        return setupDialogProc(dialog, platform::wmCtlColorStatic,
                               reinterpret_cast<platform::WParam>(dc),
                               reinterpret_cast<platform::LParam>(platform::getDlgItem(dialog, id)));
    }
    platform::Window dialog = nullptr;
};

TEST_F(SetupDialogTest, StartSetsQuestionCaptionAndRecordsTheWindow) {
    EXPECT_EQ(start(updateForm()), 1);
    EXPECT_EQ(setupDialogWindow, dialog);
    // The title, an ideographic space, を, a line break and the question.
    EXPECT_EQ(sim::controlText(dialog, 1009), "Velmora\x81\x40を\nアップデートしますか？");
    EXPECT_EQ(sim::windowText(dialog), "Velmora Updata");
    bool sentAsSetText = false;
    for (const auto& sent : sim::sentTo(dialog)) sentAsSetText |= sent.message == platform::wmSetText;
    EXPECT_TRUE(sentAsSetText);
}

TEST_F(SetupDialogTest, CentresOnTheWorkArea) {
    struct Case { Rect work; int width, height, x, y; } cases[] = {
        {{0, 0, 1024, 768}, 300, 100, 362, 334},
        {{120, 0, 1024, 768}, 300, 100, 422, 334},    // a taskbar on the left
        {{0, 40, 1024, 768}, 300, 101, 362, 353},     // on top; odd sum rounds down
        {{0, 0, 800, 600}, 1001, 51, -101, 274},      // wider than the work area: -201 >> 1
        {{-1280, 0, 0, 1024}, 300, 100, -790, 462},   // a screen left of the primary
    };
    for (const auto& c : cases) {
        sim::reset();
        sim::setWorkArea(c.work);
        start(updateForm(), {5, 7, 5 + c.width, 7 + c.height});
        const Rect r = sim::windowRect(dialog);
        EXPECT_EQ(r.left, c.x) << c.work.left << "," << c.work.right << " w " << c.width;
        EXPECT_EQ(r.top, c.y) << c.work.top << "," << c.work.bottom << " h " << c.height;
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, c.height);
    }
}

TEST_F(SetupDialogTest, StartStatesOfTheInstallForm) {
    struct Case { int installed; bool install, uninstall, start, folder; } cases[] = {
        {0, true, false, false, true},
        {1, false, true, true, false},
    };
    for (const auto& c : cases) {
        sim::reset();
        setupEngine.installed = c.installed;
        start(fullForm());
        EXPECT_EQ(sim::controlEnabled(dialog, 1000), c.install) << c.installed;
        EXPECT_EQ(sim::controlEnabled(dialog, 1014), c.uninstall) << c.installed;
        EXPECT_EQ(sim::controlEnabled(dialog, 1001), c.start) << c.installed;
        EXPECT_EQ(sim::controlEnabled(dialog, 1003), c.folder) << c.installed;
        EXPECT_EQ(sim::controlText(dialog, 1004), "c:\\Program Files\\Quillane\\Velmora");
    }
    // Any other value touches no control.
    sim::reset();
    setupEngine.installed = 2;
    start(fullForm());
    EXPECT_TRUE(sim::callsOf(sim::Op::enableWindow).empty());
}

TEST_F(SetupDialogTest, UpdateFormLacksTheInstallControlsHarmlessly) {
    setupEngine.installed = 1;
    EXPECT_EQ(start(updateForm()), 1);
    // The install form's states and folder text went to controls 105 lacks.
    EXPECT_FALSE(sim::callsOf(sim::Op::enableWindow).empty());
    EXPECT_EQ(sim::controlText(dialog, 1008), "アップデート");
    EXPECT_EQ(sim::controlText(dialog, 2), "ｷｬﾝｾﾙ");
    EXPECT_TRUE(sim::controlEnabled(dialog, 1008));
    EXPECT_TRUE(sim::controlEnabled(dialog, 2));
}

TEST_F(SetupDialogTest, StaticControlColours) {
    start(fullForm());
    platform::DeviceContext dc = sim::makeDeviceContext();
    const auto before = sim::deviceContextState(dc);

    EXPECT_EQ(colour(dc, 1004), 1);
    EXPECT_EQ(sim::deviceContextState(dc).bkColor, 14215660u);

    const auto nullBrush = reinterpret_cast<platform::Result>(platform::getNullBrush());
    EXPECT_EQ(colour(dc, 1017), nullBrush);
    auto state = sim::deviceContextState(dc);
    EXPECT_EQ(state.textColor, platform::rgb(255, 255, 255));
    EXPECT_EQ(state.bkMode, platform::transparentMode);
    EXPECT_NE(state.font, nullptr);
    EXPECT_EQ(colour(dc, 1018), nullBrush);
    EXPECT_EQ(sim::deviceContextState(dc).textColor, platform::rgb(0, 0, 0));

    platform::DeviceContext other = sim::makeDeviceContext();
    for (int id : {1009, 1019, 1021}) {
        EXPECT_EQ(colour(other, id), 1) << id;
    }
    EXPECT_EQ(sim::deviceContextState(other).font, before.font);
    EXPECT_EQ(sim::deviceContextState(other).textColor, before.textColor);
}

TEST_F(SetupDialogTest, BoldFontLivesWhileDrawingAndNeverPilesUp) {
    start(fullForm());
    platform::DeviceContext dc = sim::makeDeviceContext();
    for (int repaint = 0; repaint < 100; ++repaint) {
        colour(dc, 1017);
        colour(dc, 1018);
        // The font selected for drawing still exists when the control draws.
        EXPECT_EQ(sim::liveGdiObjects(), 1);
    }
    setupDialogProc(dialog, platform::wmDestroy, 0, 0);
    EXPECT_EQ(sim::liveGdiObjects(), 0);
    dialog = nullptr;
}

TEST_F(SetupDialogTest, LabelsAreHandedTheBoldFontTheyAreColouredWith) {
    start(fullForm());
    platform::DeviceContext dc = sim::makeDeviceContext();
    colour(dc, 1017);
    const auto font = reinterpret_cast<platform::WParam>(sim::deviceContextState(dc).font);
    for (int id : {1017, 1018}) {
        bool handed = false;
        for (const auto& sent : sim::sentTo(sim::control(dialog, id)))
            handed |= sent.message == platform::wmSetFont && sent.wParam == font;
        EXPECT_TRUE(handed) << id;
    }
}

TEST_F(SetupDialogTest, UpdateFormStaticsGetNoColour) {
    start(updateForm());
    platform::DeviceContext dc = sim::makeDeviceContext();
    EXPECT_EQ(colour(dc, 1009), 1);
    EXPECT_EQ(sim::liveGdiObjects(), 0);
}

TEST_F(SetupDialogTest, UnnamedCommandsDoNothingAndReplyOne) {
    start(fullForm());
    for (unsigned id : {1u, 1007u, 1010u, 1011u, 1012u, 1013u, 1015u, 1016u, 1017u, 1018u, 1019u,
                        1021u, 0xFFFFu}) {
        EXPECT_EQ(command(id), 1) << id;
    }
    EXPECT_FALSE(sim::dialogEnded(dialog));
    EXPECT_TRUE(sim::boxes().empty());
    EXPECT_FALSE(sim::quitCode().has_value());
}

TEST_F(SetupDialogTest, CancelAndExitEndTheDialogAndTheProgram) {
    for (platform::WParam wParam : {platform::WParam{2}, platform::WParam{1002},
                                    (platform::WParam{0x0300} << 16) | 2}) {
        sim::reset();
        start(updateForm());
        EXPECT_EQ(command(wParam), 1);
        EXPECT_TRUE(sim::dialogEnded(dialog)) << wParam;
        EXPECT_EQ(sim::dialogResult(dialog), 2);
        EXPECT_EQ(sim::quitCode(), 0);
    }
}

TEST_F(SetupDialogTest, UpdateWithoutAnInstallationWarnsAndStays) {
    start(updateForm());
    EXPECT_EQ(command((platform::WParam{1} << 16) | 1008), 1);  // notification in the high word
    const auto shown = sim::boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].owner, dialog);
    EXPECT_EQ(shown[0].text,
              "インストールがされてませんでした。\nインストールを行ってからアップデートしてください。");
    EXPECT_EQ(shown[0].caption, "確認");
    EXPECT_EQ(shown[0].flags, platform::mbOk | platform::mbIconWarning);
    EXPECT_FALSE(sim::dialogEnded(dialog));
    EXPECT_FALSE(sim::quitCode().has_value());
}

TEST_F(SetupDialogTest, UpdateWithAnInstallationRunsAndEnds) {
    for (int installed : {1, 2}) {
        sim::reset();
        setupEngine.installed = installed;
        text::copy(setupEngine.installDir, sizeof setupEngine.installDir, "c:\\Game");
        text::copy(setupEngine.productFolder, sizeof setupEngine.productFolder, "Velmora");
        start(updateForm());
        EXPECT_EQ(command(1008), 1);
        const auto shown = sim::boxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "アップデートが完了しました。");
        EXPECT_TRUE(sim::dialogEnded(dialog));
        EXPECT_EQ(sim::dialogResult(dialog), 2);
        EXPECT_EQ(sim::quitCode(), 0);
    }
}

TEST_F(SetupDialogTest, UpdateWithAnUnknownStateDoesNothing) {
    setupEngine.installed = 3;
    start(updateForm());
    EXPECT_EQ(command(1008), 1);
    EXPECT_TRUE(sim::boxes().empty());
    EXPECT_FALSE(sim::dialogEnded(dialog));
}

TEST_F(SetupDialogTest, OtherMessagesGoToTheDialogManager) {
    start(updateForm());
    EXPECT_EQ(setupDialogProc(dialog, platform::wmClose, 0, 0), 0);
    EXPECT_FALSE(sim::dialogEnded(dialog));
}

}  // namespace
