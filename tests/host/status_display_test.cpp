#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "copy_fixture.h"

namespace {

const std::string glyphs[] = {"｜", "／", "―", "＼"};

class StatusDisplayTest : public CopyTest {
protected:
    void SetUp() override {
        CopyTest::SetUp();
        currentFileName.store("grd.pac");
        sim::setClock(50000);
        restartElapsedClock();
    }
    // Ticks at the given clock readings; line 1 after each.
    std::vector<std::string> elapsedAt(const std::vector<std::uint32_t>& clocks) {
        std::vector<std::string> shown;
        for (std::uint32_t at : clocks) {
            sim::setClock(at);
            statusTick();
            shown.push_back(line(1));
        }
        return shown;
    }
};

TEST_F(StatusDisplayTest, ElapsedTimeCountsWholeSecondsFromTheStart) {
    EXPECT_EQ(elapsedAt({50500, 51000, 51001, 52000, 52001}),
              (std::vector<std::string>{"", "", "0:00:01", "0:00:01", "0:00:02"}));
}

TEST_F(StatusDisplayTest, AStallIsMadeGoodOneSecondPerTick) {
    EXPECT_EQ(elapsedAt({51001}), std::vector<std::string>{"0:00:01"});
    // Five and a half seconds without a tick.
    EXPECT_EQ(elapsedAt({56500, 56500, 56500, 56500, 56500, 56500}),
              (std::vector<std::string>{"0:00:02", "0:00:03", "0:00:04", "0:00:05", "0:00:06",
                                        "0:00:06"}));
}

TEST_F(StatusDisplayTest, HoursFollowMinutesAndAreNotPadded) {
    // Every clock reading 1001 ms after the last: one second per tick.
    sim::onTimeGetTime([] { sim::advanceClock(1001); });
    std::string before, after;
    for (int tick = 1; tick <= 3600; ++tick) {
        statusTick();
        if (tick == 3599) before = line(1);
    }
    after = line(1);
    sim::onTimeGetTime(nullptr);
    EXPECT_EQ(before, "0:59:59");
    EXPECT_EQ(after, "1:00:00");

    elapsedHours = 9;
    elapsedMinutes = 59;
    elapsedSeconds = 59;
    sim::advanceClock(5000);
    statusTick();
    EXPECT_EQ(line(1), "10:00:00");
}

TEST_F(StatusDisplayTest, TheClockWrapsHarmlessly) {
    sim::setClock(0xFFFFFE00u);
    restartElapsedClock();
    EXPECT_EQ(elapsedAt({0xFFFFFFFFu, 0x000001E8u, 0x000001E9u}),
              (std::vector<std::string>{"", "", "0:00:01"}));
}

TEST_F(StatusDisplayTest, NothingIsDrawnOrCountedBeforeTheFirstName) {
    currentFileName.store("");
    sim::advanceClock(5000);
    statusTick();
    statusTick();
    EXPECT_EQ(line(0), "");
    EXPECT_EQ(line(1), "");
    EXPECT_EQ(spinnerCounter, 0u);
    EXPECT_EQ(elapsedSeconds, 0);

    currentFileName.store("vic.pac");
    statusTick();
    EXPECT_EQ(line(0), "vic.pac " + glyphs[0]);
    EXPECT_EQ(line(1), "0:00:01");
}

TEST_F(StatusDisplayTest, TheSpinnerTurnsOnceEvery0x20000Ticks) {
    std::vector<std::string> drawn;
    for (int redraw = 0; redraw < 5; ++redraw) {
        spinnerCounter = 0x1ffff;  // the last tick before the counter starts over
        statusTick();
        EXPECT_EQ(spinnerCounter, 0u);
        const std::string untouched = line(0);
        statusTick();  // counter 0: redrawn
        EXPECT_NE(line(0), untouched);
        drawn.push_back(line(0));
        statusTick();  // counter 1: not redrawn
        EXPECT_EQ(line(0), drawn.back());
    }
    EXPECT_EQ(drawn, (std::vector<std::string>{"grd.pac " + glyphs[0], "grd.pac " + glyphs[1],
                                               "grd.pac " + glyphs[2], "grd.pac " + glyphs[3],
                                               "grd.pac " + glyphs[0]}));
}

TEST_F(StatusDisplayTest, TheSpinnerCarriesOverBetweenRuns) {
    useFiles({{"a.pac", 300000}, {"b.pac", 300000}});
    currentFileName.store("");
    spinnerIndex = 3;
    // Each file waits in the worker until the wait loop has ticked with its name,
    // so that every run redraws at least once (bounded: a loop that never ticks
    // fails below instead of hanging).
    sim::onCall([](const sim::Call& call) {
        if (call.op != sim::Op::openStream) return;
        const int ticks = sim::callCount(sim::Op::timeGetTime);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (sim::callCount(sim::Op::timeGetTime) == ticks &&
               std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
    });
    std::vector<std::string> drawnGlyphs;
    for (int run = 0; run < 2; ++run) {
        sim::clearCalls();
        spinnerCounter = 0;  // a redraw on the run's first tick that finds a name
        ASSERT_TRUE(engine.copySelectedFiles());
        for (const auto& call : sim::callsOf(sim::Op::setWindowText)) {
            const std::string& text = call.texts[0];
            for (const auto& g : glyphs)
                if (text.size() > g.size() && text.compare(text.size() - g.size(), g.size(), g) == 0)
                    drawnGlyphs.push_back(g);
        }
    }
    sim::onCall(nullptr);
    // However many redraws each run made, the glyphs go on in order across the runs.
    ASSERT_GE(drawnGlyphs.size(), 2u);
    for (std::size_t i = 0; i < drawnGlyphs.size(); ++i)
        EXPECT_EQ(drawnGlyphs[i], glyphs[(3 + i) % 4]) << i;
    EXPECT_EQ(spinnerIndex, static_cast<int>((3 + drawnGlyphs.size()) % 4));
}

TEST_F(StatusDisplayTest, ARunThatCopiesNothingLeavesTheLastName) {
    useFiles({{"a.pac", 10}});
    engine.selected[0] = 0;
    currentFileName.store("srp.pac");
    EXPECT_TRUE(engine.copySelectedFiles());
    char name[FileNameHandover::capacity];
    currentFileName.load(name, sizeof name);
    EXPECT_STREQ(name, "srp.pac");
}

TEST_F(StatusDisplayTest, StatusLinesAreControls1019And1021OfTheSetupDialog) {
    engine.showStatus("レジストリにゲーム情報を書き込んでいます。");
    setStatusLine("0:00:07", 1);
    setStatusLine("nowhere", 2);
    EXPECT_EQ(line(0), "レジストリにゲーム情報を書き込んでいます。");
    EXPECT_EQ(line(1), "0:00:07");

    // Without a dialog the texts go nowhere.
    setupDialogWindow = nullptr;
    engine.showStatus("x");
    EXPECT_EQ(line(0), "レジストリにゲーム情報を書き込んでいます。");
}

}  // namespace
