// Fault-injection sweep: each scenario runs once to count its seam calls, then
// once per call k with call k made to fail. Every run must end without a leak or
// a thread left, show only the program's own messages and keep its scenario's
// invariants. A table of scenario, calls swept and failures goes to stdout.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/dialog_window.h"
#include "engine/setup_engine.h"
#include "engine/status_display.h"
#include "platform/constants.h"
#include "platform/sim/sim.h"
#include "shell/product_profile.h"
#include "shell/profile_configuration.h"
#include "sweep_messages.h"

namespace {

const std::string installDir = "c:\\Program Files\\Quillane\\Velmora";
const std::string sourceDir = "c:\\Setup\\Velmora";  // beside the program c:\Setup\Update.exe
const std::string menuFolder =
    "c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quillane\\Velmora";
const char* const keyPath = "SOFTWARE\\Quillane\\Velmora";
const char* const phaseMenu = "スタートメニューに登録しています。";

// Every listed name, the install list's entry 0 made the executable as at start-up.
std::vector<std::string> listedNames() {
    std::vector<std::string> names;
    for (const char** list : {productProfile.installList, productProfile.extraList})
        for (int i = 0; list[i] != nullptr; ++i)
            names.push_back(list == productProfile.installList && i == 0
                                ? productProfile.executableName
                                : list[i]);
    return names;
}

void configureAsEntry(SetupEngine& engine) {
    const char* saved = productProfile.installList[0];
    configureFromProfile(engine);
    productProfile.installList[0] = saved;
}

// A handful of small sources, one over a block so that its copy reads twice; the
// other listed names are missing and passed over.
void writeSources() {
    for (const char* name : {"Velmora.exe", "grd.pac", "readme.txt", "uninst.exe", "srp_6.pac"})
        sim::writeFileOfSize(sourceDir + "\\" + name, name[0] == 'g' ? 70000 : 2048);
}

void writeRecord() {
    sim::setStringValue(keyPath, "Dir", installDir);
    sim::setStringValue(keyPath, "CD", sourceDir);
    sim::setDwordValue(keyPath, "InstType", 2);
}

void writeInstalledFiles() {
    for (const auto& name : listedNames()) sim::writeFile(installDir + "\\" + name, "old");
    for (const char* link : {"\\Velmora.lnk", "\\README.lnk", "\\アンインストール.lnk"})
        sim::writeFile(menuFolder + link, "link");
}

struct Record {
    bool exists;
    std::optional<sim::Value> dir, cd, type;
    bool operator==(const Record& o) const {
        auto same = [](const std::optional<sim::Value>& a, const std::optional<sim::Value>& b) {
            return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
        };
        return exists == o.exists && same(dir, o.dir) && same(cd, o.cd) && same(type, o.type);
    }
};
Record record() {
    return {sim::keyExists(keyPath), sim::value(keyPath, "Dir"), sim::value(keyPath, "CD"),
            sim::value(keyPath, "InstType")};
}

// What one run leaves for the invariants to judge.
struct Outcome {
    SetupEngine& engine;
    bool result;
    std::optional<sim::Call> faulted;  // the call made to fail, if any
    bool menuStepFaulted;              // the fault lay in the Start-menu step
    bool abortRequested;
    Record before;
};
using Violations = std::vector<std::string>;

// A listed file may stay only when its own probe or deletion was the call made to fail.
void expectListedGone(const Outcome& o, Violations& v) {
    for (const auto& name : listedNames()) {
        const std::string path = installDir + "\\" + name;
        if (!sim::fileExists(path)) continue;
        const bool own = o.faulted && !o.faulted->texts.empty() && o.faulted->texts[0] == path &&
                         (o.faulted->op == sim::Op::findFirstFile ||
                          o.faulted->op == sim::Op::deleteFile);
        if (!own) v.push_back("listed file left: " + name);
    }
}

void checkStartup(const Outcome& o, Violations& v) {
    if (!sim::boxes().empty()) v.push_back("start-up showed a box");
    if (!(record() == o.before)) v.push_back("record changed");
    if (o.engine.installed == 1 &&
        (installDir != o.engine.installDir || sourceDir != o.engine.sourceDir))
        v.push_back("installed without the record's folders");
    if (o.engine.installed != 0 && o.engine.installed != 1) v.push_back("installed not 0/1");
}

void checkUpdate(const Outcome& o, Violations& v) {
    if (!(record() == o.before)) v.push_back("record changed");
    for (const auto& name : listedNames())
        if (!sim::fileExists(installDir + "\\" + name)) v.push_back("update deleted " + name);
}

void checkInstall(const Outcome& o, Violations& v) {
    if (o.abortRequested && o.result) v.push_back("install succeeded after an abort");
    if (o.result) {
        if (o.engine.installed != 1) v.push_back("success without installed = 1");
        if (!sim::keyExists(keyPath)) v.push_back("success without a record");
        return;
    }
    if (o.engine.installed != 0) v.push_back("failed install set installed");
    if (o.menuStepFaulted) {  // the game is there and counts as installed next time
        if (!sim::keyExists(keyPath)) v.push_back("failed menu step lost the record");
        if (!sim::fileExists(installDir + "\\Velmora.exe")) v.push_back("failed menu step lost the files");
        return;
    }
    if (sim::keyExists(keyPath)) v.push_back("failed install left a record");
    expectListedGone(o, v);
}

void checkUninstall(const Outcome& o, Violations& v) {
    if (o.engine.installed == 0 && sim::keyExists(keyPath)) v.push_back("installed 0 with a record");
    if (o.result && sim::keyExists(keyPath)) v.push_back("success with a record");
    expectListedGone(o, v);
}

struct Scenario {
    const char* name;
    std::function<void(SetupEngine&)> arrange;  // before the counted part
    std::function<bool(SetupEngine&)> act;      // the swept part
    void (*check)(const Outcome&, Violations&);
    bool requestAbort = false;
};

void installArrange(SetupEngine& engine, int type) {
    writeSources();
    sim::makeDirs("c:\\Program Files");
    configureAsEntry(engine);
    if (type == 1) {  // a partial choice: two optional data entries unticked
        engine.selected[2] = 0;
        engine.selected[5] = 0;
        engine.setInstallType(1, 0, 11);
    } else {
        engine.setInstallType(type, 0, endOfList);
    }
}

const Scenario scenarios[] = {
    {"start-up",
     [](SetupEngine&) {
         writeRecord();
         sim::setDrive('d', platform::driveCdrom, std::string("Velmora"));
         sim::writeFile("d:\\Velmora\\Velmora.exe", "game");
     },
     [](SetupEngine& e) { configureAsEntry(e); return e.installed == 1; }, checkStartup},
    {"update",
     [](SetupEngine& e) { writeRecord(); writeSources(); writeInstalledFiles(); configureAsEntry(e); },
     [](SetupEngine& e) { e.updateInstallation(); return true; }, checkUpdate},
    {"install type 0", [](SetupEngine& e) { installArrange(e, 0); },
     [](SetupEngine& e) { return e.install(); }, checkInstall},
    {"install type 1", [](SetupEngine& e) { installArrange(e, 1); },
     [](SetupEngine& e) { return e.install(); }, checkInstall},
    {"install type 2", [](SetupEngine& e) { installArrange(e, 2); },
     [](SetupEngine& e) { return e.install(); }, checkInstall},
    {"abort", [](SetupEngine& e) { installArrange(e, 2); },
     [](SetupEngine& e) { return e.install(); }, checkInstall, true},
    {"uninstall",
     [](SetupEngine& e) { writeRecord(); writeInstalledFiles(); configureAsEntry(e); },
     [](SetupEngine& e) { return e.uninstallProduct(); }, checkUninstall},
};

// One run; faultAt 0 runs without a fault. Returns the calls the swept part made
// (into *trace when given).
long runOnce(const Scenario& s, long faultAt, Violations& v,
             std::vector<sim::Call>* trace = nullptr) {
    sim::reset();
    platform::Window dialog = sim::makeDialog(
        {{1005, "msctls_progress32", ""}, {1019, "static", ""}, {1021, "static", ""}},
        {0, 0, 400, 300});
    setupDialogWindow = dialog;
    currentFileName.store("");
    long calls = 0;
    {
        SetupEngine engine;
        engine.setProgressControl(1005);
        s.arrange(engine);
        const Record before = record();
        const long base = sim::globalCallCount();
        if (faultAt > 0) sim::failGlobalCall(base + faultAt);

        // The wait loop of the copy idles until the worker ends: a short, steady
        // number of calls from the waiting thread.
        const std::thread::id mainThread = std::this_thread::get_id();
        sim::onIdle([&engine, mainThread] {
            if (std::this_thread::get_id() != mainThread) return;
            while (engine.busy.load() != 0 && sim::runningThreads() > 0) std::this_thread::yield();
        });
        bool abortRequested = false;
        if (s.requestAbort) {
            sim::onCall([&engine, &abortRequested](const sim::Call& call) {
                if (call.op == sim::Op::readStream && sim::callCount(sim::Op::readStream) == 3) {
                    engine.cancelState = 1;
                    abortRequested = true;
                }
            });
        }
        const bool result = s.act(engine);
        sim::joinThreads();
        sim::onCall(nullptr);
        sim::onIdle(nullptr);
        calls = sim::globalCallCount() - base;
        if (trace != nullptr) trace->assign(sim::calls().begin() + base, sim::calls().end());

        std::optional<sim::Call> faulted;
        bool menuStep = false;
        const auto& all = sim::calls();
        if (faultAt > 0 && static_cast<std::size_t>(base + faultAt) <= all.size()) {
            faulted = all[static_cast<std::size_t>(base + faultAt - 1)];
            for (std::size_t i = static_cast<std::size_t>(base); i < all.size(); ++i)
                if (all[i].op == sim::Op::setWindowText && all[i].texts[0] == phaseMenu) {
                    menuStep = static_cast<long>(i) + 1 <= base + faultAt;
                    break;
                }
        }
        s.check(Outcome{engine, result, faulted, menuStep, abortRequested, before}, v);
        for (const auto& box : sim::boxes())
            if (!sweep::isKnown(box)) v.push_back("unknown box [" + box.caption + "] " + box.text);
        engine.teardown();
    }
    sim::joinThreads();
    setupDialogWindow = nullptr;
    if (sim::liveAllocations() != 0) v.push_back("memory leaked");
    if (sim::openKeyCount() != 0) v.push_back("registry key left open");
    if (sim::runningThreads() != 0) v.push_back("thread left running");
    if (sim::liveShellObjects() != 0) v.push_back("shell object left");
    for (std::string& text : v)
        text += faultAt > 0 ? " (fault at call " + std::to_string(faultAt) + ")" : " (no fault)";
    return calls;
}

void PrintTo(const Scenario& s, std::ostream* out) { *out << s.name; }

bool same(const sim::Call& a, const sim::Call& b) {
    return a.op == b.op && a.texts == b.texts && a.numbers == b.numbers;
}

// Deep inside a long repeating run of calls (the bar's thousand steps, each a
// control look-up and a message) no fault is injected: those rounds fail the same
// way as the ones near the run's ends, which are. Shorter runs (the drive probes)
// are swept whole.
bool insideRepeat(const std::vector<sim::Call>& seen, long k) {
    constexpr long reach = 32;  // rounds each side that must repeat
    const long i = k - 1;
    for (long period = 1; period <= 3; ++period) {
        if (i - reach * period < 0 || i + reach * period >= static_cast<long>(seen.size()))
            continue;
        bool repeats = true;
        for (long r = 1; r <= reach && repeats; ++r)
            repeats = same(seen[i - r * period], seen[i]) && same(seen[i + r * period], seen[i]);
        if (repeats) return true;
    }
    return false;
}

class FaultSweep : public ::testing::TestWithParam<Scenario> {};

TEST_P(FaultSweep, EveryFaultedCallKeepsTheInvariants) {
    const Scenario& s = GetParam();
    Violations clean;
    std::vector<sim::Call> seen;
    const long count = runOnce(s, 0, clean, &seen);
    for (const auto& text : clean) ADD_FAILURE() << s.name << ": " << text;
    int failures = 0;
    long swept = 0;
    for (long k = 1; k <= count; ++k) {
        if (insideRepeat(seen, k)) continue;
        ++swept;
        Violations v;
        runOnce(s, k, v);
        if (!v.empty()) ++failures;
        for (const auto& text : v) ADD_FAILURE() << s.name << ": " << text;
    }
    std::printf("fault sweep | %-15s | %5ld calls, %5ld swept | %3d failures\n", s.name, count,
                swept, failures);
}

std::string nameOf(const ::testing::TestParamInfo<Scenario>& info) {
    std::string n;
    for (const char* c = info.param.name; *c; ++c) n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return n;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, FaultSweep, ::testing::ValuesIn(scenarios), nameOf);

}  // namespace
