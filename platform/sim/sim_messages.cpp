// Per-thread message queues, the quit message and message boxes.
#include "platform/constants.h"
#include "platform/sim/sim_windows.h"

using namespace sim::detail;
using sim::Op;

namespace {

std::deque<platform::Message>& queueOfThisThread(State& s) {
    return s.queues[std::this_thread::get_id()];
}

int defaultAnswer(unsigned flags) {
    constexpr unsigned typeMask = 0xF, yesNoCancel = 0x3;
    unsigned type = flags & typeMask;
    return (type == platform::mbYesNo || type == yesNoCancel) ? platform::idYes : platform::idOk;
}

}  // namespace

namespace platform {

bool peekMessage(Message* message) {
    Gate g(Op::peekMessage);
    if (g.failed() || !message) return false;
    std::deque<Message>& queue = queueOfThisThread(g.s);
    if (!queue.empty()) {
        *message = queue.front();
        queue.pop_front();
        return true;
    }
    std::function<void()> idle = g.s.onIdle;
    g.lock.unlock();
    if (idle) idle();
    return false;
}

bool translateMessage(const Message*) {
    Gate g(Op::translateMessage);
    return false;  // no keyboard messages to translate
}

Result dispatchMessage(const Message* message) {
    Gate g(Op::dispatchMessage, {}, {message ? message->message : 0u});
    if (g.failed() || !message) return 0;
    WindowRec* rec = windowOf(g.s, message->window);
    if (!rec) return 0;
    WindowProcedure proc = procedureOf(*rec);
    g.lock.unlock();
    return proc.call(message->window, message->message, message->wParam, message->lParam);
}

void postQuitMessage(int exitCode) {
    Gate g(Op::postQuitMessage, {}, {num(exitCode)});
    g.s.quitCode = exitCode;
    queueOfThisThread(g.s).push_back(
        Message{nullptr, wmQuit, static_cast<WParam>(exitCode), 0});
}

int messageBox(Window owner, const char* text, const char* caption, unsigned flags) {
    Gate g(Op::messageBox, {str(text), str(caption)}, {flags});
    if (g.failed()) return 0;
    if (owner && !windowOf(g.s, owner)) return 0;  // an owner that no longer exists
    g.s.boxes.push_back(sim::Box{owner, str(text), str(caption), flags});
    if (g.s.boxAnswers.empty()) return defaultAnswer(flags);
    int answer = g.s.boxAnswers.front();
    g.s.boxAnswers.pop_front();
    return answer;
}

}  // namespace platform

namespace sim {

void postMessage(const platform::Message& message) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    queueOfThisThread(s).push_back(message);
}

std::optional<int> quitCode() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.quitCode;
}

void answerBoxes(std::vector<int> answers) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.boxAnswers.assign(answers.begin(), answers.end());
}

std::vector<Box> boxes() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.boxes;
}

}  // namespace sim
