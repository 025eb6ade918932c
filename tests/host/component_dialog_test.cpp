#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/sim/sim.h"
#include "shell/product_profile.h"
#include "ui/component_dialog.h"

namespace {

namespace cid = componentIds;

class ComponentDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::reset();
        setupEngine.restoreDefaults();
        setupEngine.requiredMegabytes = productProfile.installMegabytes;
        savedMegabytes = productProfile.installMegabytes;
        componentChoice = 42;
    }
    void TearDown() override { productProfile.installMegabytes = savedMegabytes; }
    platform::Result open() {
        dialog = sim::makeDialog({{cid::sizeText, "static", "size"},
                                  {cid::ok, "button", "OK"},
                                  {cid::cancel, "button", "Cancel"},
                                  {cid::installType, "button", "type"},
                                  {cid::alwaysTicked, "button", "base"},
                                  {cid::graphics, "button", "g"},
                                  {cid::music, "button", "m"},
                                  {cid::voices, "button", "v"}},
                                 {0, 0, 200, 120});
        return componentDialogProc(dialog, platform::wmInitDialog, 0, 0);
    }
    platform::Result command(int id, unsigned notification = 0) {
        return componentDialogProc(dialog, platform::wmCommand,
                                   (platform::WParam{notification} << 16) | unsigned(id), 0);
    }
    void click(int box) {
        sim::setCheckState(dialog, box, sim::checkState(dialog, box) == 1 ? 0 : 1);
        command(box, 0 /* BN_CLICKED */);
    }
    platform::Window dialog = nullptr;
    std::uint32_t savedMegabytes = 0;
};

TEST_F(ComponentDialogTest, OpeningShowsTheSelectionAndChangesNothing) {
    setupEngine.selected[5] = 0;  // music not selected: its box stays as the resource made it
    setupEngine.setInstallType(1, 0, 11);
    sim::setWorkArea({0, 0, 1000, 800});
    EXPECT_EQ(open(), 1);
    EXPECT_EQ(sim::windowText(dialog), "インストールする項目の選択");
    EXPECT_EQ(sim::windowRect(dialog).left, 400);
    EXPECT_EQ(sim::windowRect(dialog).top, 340);
    EXPECT_EQ(componentChoice, 0);
    EXPECT_EQ(sim::checkState(dialog, cid::alwaysTicked), 1);
    EXPECT_EQ(sim::checkState(dialog, cid::graphics), 1);
    EXPECT_EQ(sim::checkState(dialog, cid::music), 0);
    EXPECT_EQ(sim::checkState(dialog, cid::voices), 1);
    EXPECT_EQ(sim::controlText(dialog, cid::sizeText), "size");
    EXPECT_EQ(setupEngine.installType, 1);
    EXPECT_EQ(setupEngine.endFile, 11);
}

TEST_F(ComponentDialogTest, InstallTypeToggleStartsWithTheWholeList) {
    open();
    struct Step { int type, end; std::int32_t choice; } steps[] = {
        {2, 9999, 1}, {1, 11, 0}, {2, 9999, 1}};
    for (const auto& step : steps) {
        EXPECT_EQ(command(cid::installType, 0x0300), 1);  // any notification toggles
        EXPECT_EQ(setupEngine.installType, step.type);
        EXPECT_EQ(setupEngine.firstFile, 0);
        EXPECT_EQ(setupEngine.endFile, step.end);
        EXPECT_EQ(componentChoice, step.choice);
        EXPECT_EQ(setupEngine.requiredMegabytes, 1617u);
        EXPECT_EQ(sim::controlText(dialog, cid::sizeText), "1617M byte");
    }
}

TEST_F(ComponentDialogTest, ComponentSizes) {
    struct Case { unsigned char graphics, music, voices; std::uint32_t mib; } cases[] = {
        {1, 1, 1, 2300}, {0, 1, 1, 1100}, {0, 0, 0, 140}, {1, 0, 0, 1340},
        {0, 1, 0, 360},  {0, 0, 1, 880},  {2, 2, 2, 140},  // only exactly 1 counts
    };
    for (const auto& c : cases) {
        setupEngine.selected[1] = c.graphics;
        setupEngine.selected[5] = c.music;
        setupEngine.selected[2] = c.voices;
        EXPECT_EQ(computeRequiredMegabytes(), c.mib);
    }
}

TEST_F(ComponentDialogTest, TickingAComponentSetsItsByteAndTheSize) {
    open();
    click(cid::graphics);  // off
    EXPECT_EQ(setupEngine.selected[1], 0);
    EXPECT_EQ(setupEngine.requiredMegabytes, 1100u);
    EXPECT_EQ(productProfile.installMegabytes, 1100u);
    EXPECT_EQ(sim::controlText(dialog, cid::sizeText), "1100M");
    click(cid::voices);  // off
    EXPECT_EQ(setupEngine.selected[2], 0);
    EXPECT_EQ(sim::controlText(dialog, cid::sizeText), "360M");
    click(cid::music);   // off
    EXPECT_EQ(setupEngine.selected[5], 0);
    EXPECT_EQ(sim::controlText(dialog, cid::sizeText), "140M");
    click(cid::graphics);
    click(cid::music);
    click(cid::voices);
    EXPECT_EQ(sim::controlText(dialog, cid::sizeText), "2300M");
    // The type toggle then sets the type's size and ignores the components.
    command(cid::installType);
    EXPECT_EQ(setupEngine.requiredMegabytes, 1617u);
}

TEST_F(ComponentDialogTest, OkAtOnceLeavesAFreshEngineAsItWas) {
    open();
    EXPECT_EQ(command(cid::ok), 1);
    EXPECT_TRUE(sim::dialogEnded(dialog));
    EXPECT_EQ(sim::dialogResult(dialog), cid::ok);
    EXPECT_EQ(componentChoice, 0);
    EXPECT_EQ(setupEngine.installType, 0);
    EXPECT_EQ(setupEngine.endFile, 9999);
    for (unsigned char s : setupEngine.selected) EXPECT_EQ(s, 1);
    EXPECT_EQ(setupEngine.requiredMegabytes, 1617u);
}

TEST_F(ComponentDialogTest, CancelKeepsTheChanges) {
    open();
    command(cid::installType);
    click(cid::music);
    EXPECT_EQ(command(cid::cancel), 1);
    EXPECT_TRUE(sim::dialogEnded(dialog));
    EXPECT_EQ(sim::dialogResult(dialog), cid::cancel);
    EXPECT_EQ(componentChoice, componentCancelled);
    EXPECT_EQ(setupEngine.selected[5], 0);
    EXPECT_EQ(setupEngine.installType, 2);
    EXPECT_EQ(setupEngine.requiredMegabytes, 2080u);
    // The next opening shows the kept selection and starts the toggle afresh.
    open();
    EXPECT_EQ(sim::checkState(dialog, cid::music), 0);
    EXPECT_EQ(componentChoice, 0);
}

TEST_F(ComponentDialogTest, EscCloseBoxAndOtherIdsLeaveItOpen) {
    open();
    for (int id : {platform::idCancel, platform::idOk, 1014, 1016, 1017, 1018, 1019, 1020}) {
        EXPECT_EQ(command(id), 1) << id;
    }
    EXPECT_FALSE(sim::dialogEnded(dialog));
    EXPECT_EQ(componentDialogProc(dialog, platform::wmClose, 0, 0), 0);
    EXPECT_FALSE(sim::dialogEnded(dialog));
}

}  // namespace
