// Fault injection and the call record: a failing call gives the Win32 failure result.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/constants.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sim/sim.h"
#include "platform/windowing.h"

using namespace platform;
using sim::Op;

namespace {

class SimFaults : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
};

struct OpCase {
    Op op;
    std::function<bool()> call;  // true when the call succeeded
};

const char* const key = "SOFTWARE\\Quillane\\Velmora";

bool withFile(std::uint32_t access, const std::function<bool(File)>& use) {
    sim::writeFile("c:\\f.txt", "data");
    File f = createFile("c:\\f.txt", access, fileShareRead, openExisting, fileAttributeNormal);
    bool ok = f && use(f);
    if (f) closeFile(f);
    return ok;
}

bool withStream(StreamMode mode, const std::function<bool(Stream)>& use) {
    sim::writeFile("c:\\s.txt", "data");
    Stream s = openStream("c:\\s.txt", mode);
    bool ok = s && use(s);
    if (s) closeStream(s);
    return ok;
}

bool withLink(const std::function<bool(ShellLink, PersistFile)>& use) {
    ShellLink link = nullptr;
    PersistFile file = nullptr;
    bool ok = createShellLink(&link) == sOk && shellLinkQueryPersistFile(link, &file) == sOk &&
              use(link, file);
    if (link) shellLinkRelease(link);
    if (file) persistFileRelease(file);
    return ok;
}

Result PLATFORM_CALLBACK endAtOnce(Window dialog, unsigned message, WParam, LParam) {
    if (message == wmInitDialog) endDialog(dialog, 7);
    return 0;
}

unsigned long PLATFORM_CALLBACK quickThread(void*) { return 3; }

std::vector<OpCase> opCases() {
    return {
        {Op::regCreateKey, [] { RegKey k; return regCreateKey(key, 0, keyAllAccess, &k) == errorSuccess; }},
        {Op::regOpenKey, [] { sim::createKey(key); RegKey k; return regOpenKey(key, keyAllAccess, &k) == errorSuccess; }},
        {Op::regSetValue, [] {
             RegKey k;
             regCreateKey(key, 0, keyAllAccess, &k);
             return regSetValue(k, "Dir", regSz, "x", 2) == errorSuccess;
         }},
        {Op::regQueryValue, [] {
             sim::setStringValue(key, "Dir", "x");
             RegKey k;
             regOpenKey(key, keyAllAccess, &k);
             char b[8];
             std::uint32_t t = regSz, n = sizeof b;
             return regQueryValue(k, "Dir", &t, b, &n) == errorSuccess;
         }},
        {Op::regDeleteKey, [] { sim::createKey(key); return regDeleteKey(key) == errorSuccess; }},
        {Op::getVolumeInformation, [] { char b[256]; return getVolumeInformation("c:\\", b, 256); }},
        {Op::getDiskFreeSpace, [] { std::uint64_t n; return getDiskFreeSpace("c:\\", &n); }},
        {Op::openStream, [] { return withStream(StreamMode::readDenyWrite, [](Stream) { return true; }); }},
        {Op::readStream, [] {
             return withStream(StreamMode::readDenyWrite, [](Stream s) { char b[4]; return readStream(s, b, 4) == 4; });
         }},
        {Op::writeStream, [] {
             return withStream(StreamMode::writeExclusive, [](Stream s) { return writeStream(s, "ab", 2) == 2; });
         }},
        {Op::createFile, [] { return withFile(genericRead, [](File) { return true; }); }},
        {Op::getFileSize, [] { return withFile(genericRead, [](File f) { return getFileSize(f) == 4; }); }},
        {Op::getFileTime, [] {
             return withFile(genericRead, [](File f) { FileTime a, b, c; return getFileTime(f, &a, &b, &c); });
         }},
        {Op::setFileTime, [] {
             return withFile(genericRead | genericWrite, [](File f) {
                 FileTime t{1, 1};
                 return setFileTime(f, &t, &t, &t);
             });
         }},
        {Op::setFileAttributes, [] { sim::writeFile("c:\\a", ""); return setFileAttributes("c:\\a", fileAttributeNormal); }},
        {Op::getFileAttributes, [] { sim::writeFile("c:\\a", ""); return getFileAttributes("c:\\a") != 0xFFFFFFFFu; }},
        {Op::copyFile, [] { sim::writeFile("c:\\a", ""); return copyFile("c:\\a", "c:\\b", false); }},
        {Op::deleteFile, [] { sim::writeFile("c:\\a", ""); return deleteFile("c:\\a"); }},
        {Op::findFirstFile, [] {
             sim::writeFile("c:\\a", "");
             FindHandle f = findFirstFile("c:\\a");
             if (f) findClose(f);
             return f != nullptr;
         }},
        {Op::changeDirectory, [] { return changeDirectory("c:\\") == 0; }},
        {Op::makeDirectory, [] { return makeDirectory("c:\\New") == 0; }},
        {Op::createDirectory, [] { return createDirectory("c:\\New"); }},
        {Op::removeDirectory, [] { sim::makeDirs("c:\\Old"); return removeDirectory("c:\\Old"); }},
        {Op::getModuleFileName, [] { char b[260]; return getModuleFileName(b, 260) != 0; }},
        {Op::createThread, [] {
             Thread t = createThread(quickThread, nullptr, nullptr);
             sim::joinThreads();
             return t != nullptr;
         }},
        {Op::waitForThread, [] { return waitForThread(createThread(quickThread, nullptr, nullptr)); }},
        {Op::registerWindowClass, [] {
             WindowClass c;
             c.className = "VelmoraClass";
             return registerWindowClass(c);
         }},
        {Op::createWindow, [] {
             WindowClass c;
             c.className = "VelmoraClass";
             registerWindowClass(c);
             return createWindow(0, "VelmoraClass", "Velmora", wsPopup, 0, 0, 0, 0, nullptr, nullptr) != nullptr;
         }},
        {Op::findWindow, [] { sim::addTopLevelWindow("C", "T"); return findWindow("C", "T") != nullptr; }},
        {Op::dialogBox, [] {
             sim::defineDialogTemplate(105, {}, Rect{});
             return dialogBox(nullptr, 105, nullptr, endAtOnce, 0) == 7;
         }},
        {Op::endDialog, [] { return endDialog(sim::makeDialog({}, Rect{}), 2); }},
        {Op::getDlgItem, [] { return getDlgItem(sim::makeDialog({{1009, "static", ""}}, Rect{}), 1009) != nullptr; }},
        {Op::enableWindow, [] {
             Window d = sim::makeDialog({{1000, "button", ""}}, Rect{});
             enableWindow(sim::control(d, 1000), false);
             return !sim::controlEnabled(d, 1000);
         }},
        {Op::setWindowText, [] { return setWindowText(sim::makeDialog({}, Rect{}), "x"); }},
        {Op::sendMessage, [] {
             return sendMessage(sim::makeDialog({}, Rect{}), wmSetText, 0, reinterpret_cast<LParam>("x")) == 1;
         }},
        {Op::messageBox, [] { return messageBox(nullptr, "t", "c", mbOk) == idOk; }},
        {Op::getWorkArea, [] { Rect r; return getWorkArea(&r); }},
        {Op::getWindowRect, [] { Rect r; return getWindowRect(sim::makeDialog({}, Rect{}), &r); }},
        {Op::moveWindow, [] { return moveWindow(sim::makeDialog({}, Rect{}), 1, 2, 3, 4, true); }},
        {Op::peekMessage, [] {
             sim::postMessage(Message{nullptr, wmUser, 0, 0});
             Message m;
             return peekMessage(&m);
         }},
        {Op::createFont, [] {
             GdiHandle f = createFont(16, 8, 0, 0, fwBold, false, false, false, shiftJisCharset, 0, 0,
                                      antialiasedQuality, fixedPitch, nullptr);
             if (f) deleteObject(f);
             return f != nullptr;
         }},
        {Op::selectObject, [] { return selectObject(sim::makeDeviceContext(), getNullBrush()) != nullptr; }},
        {Op::setTextColor, [] { return setTextColor(sim::makeDeviceContext(), 0) != 0xFFFFFFFFu; }},
        {Op::setBkColor, [] { return setBkColor(sim::makeDeviceContext(), 0) != 0xFFFFFFFFu; }},
        {Op::setBkMode, [] { return setBkMode(sim::makeDeviceContext(), transparentMode) != 0; }},
        {Op::deleteObject, [] {
             return deleteObject(createFont(1, 1, 0, 0, 0, false, false, false, 0, 0, 0, 0, 0, nullptr));
         }},
        {Op::getNullBrush, [] { return getNullBrush() != nullptr; }},
        {Op::getSpecialFolderPath, [] { char b[260]; return getSpecialFolderPath(b, csidlCommonPrograms, false); }},
        {Op::coInitialize, [] { return coInitialize() == sOk; }},
        {Op::createShellLink, [] { return withLink([](ShellLink, PersistFile) { return true; }); }},
        {Op::shellLinkQueryPersistFile, [] { return withLink([](ShellLink, PersistFile) { return true; }); }},
        {Op::shellLinkSetPath, [] { return withLink([](ShellLink l, PersistFile) { return shellLinkSetPath(l, "x") == sOk; }); }},
        {Op::persistFileSave, [] {
             return withLink([](ShellLink, PersistFile f) { return persistFileSave(f, u"c:\\a.lnk", true) == sOk; });
         }},
        {Op::multiByteToWide, [] { char16_t w[4]; return multiByteToWide("abc", w, 4) == 4; }},
        {Op::browseForFolder, [] {
             sim::answerBrowse(std::string("c:\\"));
             char name[260];
             BrowseRequest r;
             r.displayName = name;
             return browseForFolder(r) != nullptr;
         }},
        {Op::getShellAllocator, [] { Allocator* a; return getShellAllocator(&a) == sOk; }},
        {Op::getPathFromItemList, [] {
             sim::answerBrowse(std::string("c:\\"));
             char name[260], path[260];
             BrowseRequest r;
             r.displayName = name;
             return getPathFromItemList(browseForFolder(r), path);
         }},
        {Op::getLongPathName, [] { char b[260]; return getLongPathName("c:\\", b, 260) == 3; }},
        {Op::shellExecute, [] {
             sim::writeFile("c:\\r.txt", "");
             return shellExecute(nullptr, "open", "c:\\r.txt", "", "", swShowNormal) > 32;
         }},
    };
}

TEST_F(SimFaults, EveryFailingCallGivesItsWin32FailureResult) {
    for (const OpCase& c : opCases()) {
        sim::reset();
        EXPECT_TRUE(c.call()) << sim::opName(c.op) << " without a fault";
        sim::reset();
        sim::fail(c.op);
        EXPECT_FALSE(c.call()) << sim::opName(c.op) << " with a fault";
    }
}

TEST_F(SimFaults, FailingResultsOfTheNumberReturningCalls) {
    sim::fail(Op::getDriveType);
    EXPECT_EQ(getDriveType("c:\\"), driveUnknown);
    sim::fail(Op::dialogBox);
    sim::defineDialogTemplate(105, {}, Rect{});
    EXPECT_EQ(dialogBox(nullptr, 105, nullptr, endAtOnce, 0), -1);
    sim::fail(Op::coInitialize);
    EXPECT_EQ(coInitialize(), eUnexpected);
    sim::fail(Op::regCreateKey);
    RegKey k = nullptr;
    EXPECT_EQ(regCreateKey(key, 0, keyAllAccess, &k), errorAccessDenied);
    EXPECT_FALSE(sim::keyExists(key));
    sim::fail(Op::getShellAllocator);
    Allocator* a = nullptr;
    EXPECT_EQ(getShellAllocator(&a), eFail);
    EXPECT_EQ(a, nullptr);
}

TEST_F(SimFaults, AFaultStartsAtTheGivenCallAndLastsItsCount) {
    sim::writeFile("c:\\a", "");
    getFileAttributes("c:\\a");  // calls before fail() do not count towards it
    sim::fail(Op::getFileAttributes, 3, 2);
    std::vector<bool> ok;
    for (int i = 0; i < 6; ++i) ok.push_back(getFileAttributes("c:\\a") != 0xFFFFFFFFu);
    EXPECT_EQ(ok, (std::vector<bool>{true, true, false, false, true, true}));

    sim::fail(Op::getFileAttributes, 1, -1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(getFileAttributes("c:\\a"), 0xFFFFFFFFu);
    sim::clearFaults();
    EXPECT_NE(getFileAttributes("c:\\a"), 0xFFFFFFFFu);
}

TEST_F(SimFaults, TheKthCallOfAnyKindFails) {
    RegKey k = nullptr;
    ASSERT_EQ(regCreateKey(key, 0, keyAllAccess, &k), errorSuccess);
    const long next = sim::globalCallCount() + 1;
    sim::failGlobalCall(next + 1);  // the second call from here: the DWORD write
    std::uint32_t type = 1;
    EXPECT_EQ(regSetValue(k, "Dir", regSz, "x", 2), errorSuccess);
    EXPECT_EQ(regSetValue(k, "InstType", regDword, &type, 4), errorAccessDenied);
    EXPECT_EQ(regSetValue(k, "CD", regSz, "y", 2), errorSuccess);
    EXPECT_FALSE(sim::value(key, "InstType"));
    EXPECT_TRUE(sim::value(key, "CD"));
    EXPECT_EQ(sim::globalCallCount(), next + 2);
    EXPECT_EQ(sim::callCount(Op::regSetValue), 3);
}

TEST_F(SimFaults, ResetClearsFaultsCountsAndTheRecord) {
    sim::fail(Op::getFileAttributes, 1, -1);
    sim::failGlobalCall(2);
    getFileAttributes("c:\\");
    sim::reset();
    EXPECT_EQ(sim::globalCallCount(), 0);
    EXPECT_TRUE(sim::calls().empty());
    EXPECT_EQ(getFileAttributes("c:\\"), fileAttributeDirectory);
    EXPECT_EQ(getFileAttributes("c:\\"), fileAttributeDirectory);
    EXPECT_EQ(sim::callCount(Op::getFileAttributes), 2);
}

TEST_F(SimFaults, TheCallHookSeesEachCallFirstAndMayFailIt) {
    sim::writeFile("c:\\a", "");
    std::vector<std::string> seen;
    sim::onCall([&](const sim::Call& call) {
        if (call.op == Op::deleteFile) sim::failGlobalCall(sim::globalCallCount());
        seen.push_back(call.texts.at(0));
        getFileAttributes("c:\\from the hook");  // does not come back to the hook
    });
    EXPECT_FALSE(deleteFile("c:\\a"));
    EXPECT_NE(getFileAttributes("c:\\a"), 0xFFFFFFFFu);
    sim::onCall(nullptr);
    getFileAttributes("c:\\unseen");
    EXPECT_EQ(seen, (std::vector<std::string>{"c:\\a", "c:\\a"}));
}

TEST_F(SimFaults, AllocationsAreZeroedCountedAndCanFail) {
    auto* block = static_cast<unsigned char*>(allocateZeroed(128));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[0] | block[127], 0);
    EXPECT_EQ(sim::liveAllocations(), 1);
    sim::fail(Op::allocateZeroed);
    EXPECT_EQ(allocateZeroed(128), nullptr);
    releaseMemory(block);
    releaseMemory(nullptr);
    EXPECT_EQ(sim::liveAllocations(), 0);
}

TEST_F(SimFaults, CallsAreRecordedWithTextsAndNumbersInArgumentOrder) {
    createFile("c:\\x.txt", genericRead, fileShareRead, openExisting, fileAttributeNormal);
    messageBox(nullptr, "本文", "確認", mbYesNo | mbIconQuestion);
    const std::vector<sim::Call>& all = sim::calls();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].op, Op::createFile);
    EXPECT_EQ(all[0].texts, std::vector<std::string>{"c:\\x.txt"});
    EXPECT_EQ(all[0].numbers, (std::vector<std::uint64_t>{genericRead, fileShareRead, openExisting,
                                                          fileAttributeNormal}));
    EXPECT_EQ(all[1].texts, (std::vector<std::string>{"本文", "確認"}));
    EXPECT_EQ(all[1].numbers, std::vector<std::uint64_t>{mbYesNo | mbIconQuestion});
    sim::clearCalls();
    EXPECT_TRUE(sim::calls().empty());
    EXPECT_EQ(sim::callCount(Op::createFile), 1) << "counts outlive the record";
}

}  // namespace
