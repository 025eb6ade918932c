// Simulated windows: modal dialogs with scripts, controls, message boxes, queues, GDI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/constants.h"
#include "platform/process.h"
#include "platform/sim/sim.h"
#include "platform/windowing.h"

using namespace platform;

namespace {

class SimWindows : public ::testing::Test {
protected:
    void SetUp() override {
        sim::reset();
        seen = Seen{};
    }

public:
    struct Seen {
        LParam initParam = 0;
        std::vector<WParam> commands;
        std::vector<unsigned> messages;
        Result nestedResult = 0;
    };
    static Seen seen;
};
SimWindows::Seen SimWindows::seen;

LParam text(const char* t) { return reinterpret_cast<LParam>(t); }

Result PLATFORM_CALLBACK componentProc(Window dialog, unsigned message, WParam wParam, LParam) {
    if (message == wmCommand && (wParam & 0xFFFF) == idCancel) endDialog(dialog, idCancel);
    return message == wmInitDialog;
}

Result PLATFORM_CALLBACK setupProc(Window dialog, unsigned message, WParam wParam, LParam lParam) {
    SimWindows::seen.messages.push_back(message);
    switch (message) {
        case wmInitDialog:
            SimWindows::seen.initParam = lParam;
            setWindowText(getDlgItem(dialog, 1009), "question");
            sendMessage(dialog, wmSetText, 0, text("caption"));
            return 1;
        case wmCommand:
            SimWindows::seen.commands.push_back(wParam);
            if ((wParam & 0xFFFF) == 1000)
                SimWindows::seen.nestedResult = dialogBox(nullptr, 109, dialog, componentProc, 0);
            if ((wParam & 0xFFFF) == idCancel) {
                endDialog(dialog, 2);
                postQuitMessage(0);
            }
            return 1;
        default:
            return 0;
    }
}

const std::vector<sim::Control> setupControls = {
    {1008, "button", "update"}, {idCancel, "button", "cancel"}, {1009, "static", "Static"}};

TEST_F(SimWindows, DialogBoxRunsInitDialogThenTheScriptAndReturnsTheEndResult) {
    sim::defineDialogTemplate(105, setupControls, Rect{0, 0, 280, 90});
    sim::defineDialogTemplate(109, {{idCancel, "button", "cancel"}}, Rect{0, 0, 200, 100});
    sim::onDialog(109, [](Window d) { sim::command(d, idCancel); });
    Window inScript = nullptr;
    sim::onDialog(105, [&](Window d) {
        inScript = d;
        EXPECT_EQ(sim::controlText(d, 1009), "question");
        EXPECT_EQ(sim::windowText(d), "caption");
        sim::command(d, 1008, 1);
        sim::command(d, 1000);
        sim::command(d, idCancel);
    });
    EXPECT_EQ(dialogBox(nullptr, 105, nullptr, setupProc, 77), 2);
    EXPECT_EQ(seen.initParam, 77);
    EXPECT_EQ(seen.commands, (std::vector<WParam>{(1u << 16) | 1008u, 1000u, 2u}));
    EXPECT_EQ(seen.nestedResult, idCancel) << "a dialog inside a dialog's command";
    EXPECT_EQ(seen.messages.front(), wmInitDialog);
    EXPECT_EQ(seen.messages.back(), wmDestroy);
    EXPECT_EQ(sim::lastDialog(105), inScript);
    EXPECT_FALSE(sim::windowExists(inScript)) << "the dialog is gone once dialogBox returns";
    EXPECT_EQ(getDlgItem(inScript, 1009), nullptr);
    EXPECT_EQ(sim::quitCode(), 0);
    EXPECT_TRUE(sim::dialogEnded(inScript));
    EXPECT_EQ(sim::dialogResult(inScript), 2);
}

TEST_F(SimWindows, DialogBoxFailsForAnUnknownTemplateOrWhenNothingEndsIt) {
    EXPECT_EQ(dialogBox(nullptr, 109, nullptr, setupProc, 0), -1);
    EXPECT_TRUE(seen.messages.empty()) << "no procedure call without a template";
    sim::defineDialogTemplate(105, setupControls, Rect{});
    EXPECT_EQ(dialogBox(nullptr, 105, nullptr, setupProc, 0), -1);
    sim::onDialog(105, [](Window d) { sim::command(d, 1008); });
    EXPECT_EQ(dialogBox(nullptr, 105, nullptr, setupProc, 0), -1);
}

TEST_F(SimWindows, ProgressBarKeepsRangeStepAndPosition) {
    struct Step {
        unsigned message;
        WParam wParam;
        LParam lParam;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        int position;
    };
    const LParam range1000 = 1000 << 16;
    const Case cases[] = {
        {"fresh bar steps by 10", {{pbmStepIt, 0, 0}}, 10},
        {"reset then three steps", {{pbmSetRange, 0, range1000}, {pbmSetStep, 1, 0}, {pbmSetPos, 0, 0},
                                    {pbmStepIt, 0, 0}, {pbmStepIt, 0, 0}, {pbmStepIt, 0, 0}}, 3},
        {"a position above the range is clamped", {{pbmSetRange, 0, range1000}, {pbmSetPos, 5000, 0}}, 1000},
        {"stepping past the end starts over",
         {{pbmSetRange, 0, range1000}, {pbmSetStep, 1, 0}, {pbmSetPos, 1000, 0}, {pbmStepIt, 0, 0}}, 0},
        {"a narrower range pulls the position in", {{pbmSetPos, 80, 0}, {pbmSetRange, 0, 50 << 16}}, 50},
        {"a range starting above the position", {{pbmSetRange, 0, (200 << 16) | 20}}, 20},
    };
    for (const Case& c : cases) {
        Window dialog = sim::makeDialog({{1005, "msctls_progress32", ""}}, Rect{});
        Window bar = getDlgItem(dialog, 1005);
        for (const Step& s : c.steps) sendMessage(bar, s.message, s.wParam, s.lParam);
        EXPECT_EQ(sim::progressPosition(bar), c.position) << c.what;
        EXPECT_EQ(sim::sentTo(bar).size(), c.steps.size()) << c.what;
    }
    Window dialog = sim::makeDialog({{1005, "msctls_progress32", ""}}, Rect{});
    Window bar = sim::control(dialog, 1005);
    sendMessage(bar, pbmSetRange, 0, range1000);
    sendMessage(bar, pbmSetStep, 4, 0);
    EXPECT_EQ(sendMessage(bar, pbmStepIt, 0, 0), 0) << "STEPIT answers the previous position";
    sim::ProgressBar state = sim::progressBar(bar);
    EXPECT_EQ(state.low, 0);
    EXPECT_EQ(state.high, 1000);
    EXPECT_EQ(state.step, 4);
    EXPECT_EQ(state.position, 4);
}

TEST_F(SimWindows, MessageBoxesAnswerInOrderThenByTheirButtons) {
    sim::answerBoxes({idNo});
    EXPECT_EQ(messageBox(nullptr, "q1", "確認", mbYesNo | mbIconQuestion), idNo);
    EXPECT_EQ(messageBox(nullptr, "q2", "確認", mbYesNo | mbIconQuestion), idYes);
    Window dialog = sim::makeDialog({}, Rect{});
    EXPECT_EQ(messageBox(dialog, "done", "終了", mbIconWarning), idOk);
    std::vector<sim::Box> shown = sim::boxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "q1");
    EXPECT_EQ(shown[0].caption, "確認");
    EXPECT_EQ(shown[0].flags, mbYesNo | mbIconQuestion);
    EXPECT_EQ(shown[2].owner, dialog);
    sim::destroyWindow(dialog);
    EXPECT_EQ(messageBox(dialog, "late", "終了", mbOk), 0) << "an owner that is gone";
    EXPECT_EQ(sim::boxes().size(), 3u);
}

TEST_F(SimWindows, CallsOnNoWindowDoNothingAndFail) {
    EXPECT_FALSE(setWindowText(nullptr, "x"));
    EXPECT_FALSE(enableWindow(nullptr, true));
    EXPECT_EQ(sendMessage(nullptr, wmSetText, 0, text("x")), 0);
    EXPECT_EQ(getDlgItem(nullptr, 1009), nullptr);
    Rect r;
    EXPECT_FALSE(getWindowRect(nullptr, &r));
    EXPECT_FALSE(moveWindow(nullptr, 0, 0, 1, 1, true));
    EXPECT_FALSE(endDialog(nullptr, 2));
    Window dialog = sim::makeDialog({{1009, "static", ""}}, Rect{});
    EXPECT_EQ(getDlgItem(dialog, 1005), nullptr) << "a control the template lacks";
}

TEST_F(SimWindows, ButtonsKeepTheirCheckAndClicksReachTheDialog) {
    Window dialog = sim::makeDialog({{1101, "Button", ""}, {1102, "button", ""}}, Rect{});
    sim::setDialogProc(dialog, setupProc);
    Window option = getDlgItem(dialog, 1101);
    EXPECT_EQ(sendMessage(option, bmGetCheck, 0, 0), 0);
    sendMessage(option, bmSetCheck, 1, 0);
    EXPECT_EQ(sendMessage(option, bmGetCheck, 0, 0), 1);
    sim::setCheckState(dialog, 1101, 0);
    EXPECT_EQ(sendMessage(option, bmGetCheck, 0, 0), 0);

    sendMessage(getDlgItem(dialog, 1102), bmClick, 0, 0);
    EXPECT_EQ(seen.commands, std::vector<WParam>{1102u});
    enableWindow(getDlgItem(dialog, 1102), false);
    EXPECT_FALSE(sim::controlEnabled(dialog, 1102));
    sendMessage(getDlgItem(dialog, 1102), bmClick, 0, 0);
    EXPECT_EQ(seen.commands.size(), 1u) << "a disabled button takes no click";
}

TEST_F(SimWindows, WorkAreaAndDialogRectangle) {
    sim::setWorkArea(Rect{100, 50, 900, 650});
    Rect area;
    ASSERT_TRUE(getWorkArea(&area));
    EXPECT_EQ(area.left, 100);
    EXPECT_EQ(area.bottom, 650);
    Window dialog = sim::makeDialog({}, Rect{0, 0, 281, 83});
    Rect r;
    ASSERT_TRUE(getWindowRect(dialog, &r));
    EXPECT_EQ(r.right - r.left, 281);
    ASSERT_TRUE(moveWindow(dialog, -101, 7, 281, 83, true));
    Rect moved = sim::windowRect(dialog);
    EXPECT_EQ(moved.left, -101);
    EXPECT_EQ(moved.top, 7);
    EXPECT_EQ(moved.right, 180);
    EXPECT_EQ(moved.bottom, 90);
}

Result PLATFORM_CALLBACK mainProc(Window window, unsigned message, WParam wParam, LParam lParam) {
    if (message == wmDestroy) {
        postQuitMessage(0);
        return 0;
    }
    return defWindowProc(window, message, wParam, lParam);
}

TEST_F(SimWindows, ClassesWindowsAndTheQuitMessage) {
    WindowClass c;
    c.proc = mainProc;
    c.className = "VelmoraSetup";
    ASSERT_TRUE(registerWindowClass(c));
    EXPECT_FALSE(registerWindowClass(c)) << "registered once";
    EXPECT_EQ(createWindow(0, "Nobody", "x", wsPopup, 0, 0, 0, 0, nullptr, nullptr), nullptr);
    Window main = createWindow(0, "VelmoraSetup", "Velmora", wsPopup, 0, 0, 0, 0, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(findWindow("velmorasetup", "Velmora"), main);
    EXPECT_EQ(findWindow("VelmoraSetup", "VELMORA"), nullptr);

    Message m;
    EXPECT_FALSE(peekMessage(&m));
    sendMessage(main, wmClose, 0, 0);  // DefWindowProc destroys it; WM_DESTROY posts the quit
    EXPECT_EQ(findWindow("VelmoraSetup", "Velmora"), nullptr);
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.message, wmQuit);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_FALSE(peekMessage(&m));
}

unsigned long PLATFORM_CALLBACK quitOnItsOwnQueue(void*) {
    postQuitMessage(5);
    Message m;
    return peekMessage(&m) && m.message == wmQuit && m.wParam == 5 ? 1 : 0;
}

TEST_F(SimWindows, EachThreadHasItsOwnQueueAndAnEmptyQueueIsIdle) {
    int idle = 0;
    sim::onIdle([&] { ++idle; });
    Thread t = createThread(quitOnItsOwnQueue, nullptr, nullptr);
    ASSERT_TRUE(waitForThread(t));
    closeThread(t);
    EXPECT_EQ(sim::quitCode(), 5);
    Message m;
    EXPECT_FALSE(peekMessage(&m)) << "the other thread's quit is not ours";
    EXPECT_EQ(idle, 1);
    sim::postMessage(Message{nullptr, wmUser, 1, 2});
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.message, wmUser);
    EXPECT_EQ(idle, 1);
}

TEST_F(SimWindows, FontsAndDeviceContexts) {
    DeviceContext dc = sim::makeDeviceContext();
    GdiHandle font = createFont(16, 8, 0, 0, fwBold, false, false, false, shiftJisCharset, 0, 0,
                                antialiasedQuality, fixedPitch, nullptr);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(sim::liveGdiObjects(), 1);
    GdiHandle previous = selectObject(dc, font);
    EXPECT_NE(previous, nullptr);
    EXPECT_NE(previous, font);
    EXPECT_EQ(setTextColor(dc, rgb(255, 255, 255)), 0u);
    EXPECT_EQ(setBkColor(dc, 14215660), 0xFFFFFFu);
    EXPECT_EQ(setBkMode(dc, transparentMode), 2) << "OPAQUE at first";
    sim::DcState state = sim::deviceContextState(dc);
    EXPECT_EQ(state.font, font);
    EXPECT_EQ(state.textColor, rgb(255, 255, 255));
    EXPECT_EQ(state.bkColor, 14215660u);
    EXPECT_EQ(state.bkMode, transparentMode);
    EXPECT_EQ(selectObject(dc, previous), font);

    ASSERT_TRUE(deleteObject(font));
    EXPECT_FALSE(sim::gdiObjectAlive(font));
    EXPECT_EQ(sim::liveGdiObjects(), 0);
    EXPECT_FALSE(deleteObject(font));
    EXPECT_TRUE(deleteObject(getNullBrush())) << "stock objects may be deleted and stay";
    EXPECT_EQ(getNullBrush(), getNullBrush());
}

}  // namespace
