// Install, abort and uninstall through the engine on real Windows: the copy
// worker and the install thread against a window that this thread owns and
// serves, the message boxes answered as a user would, the record in HKLM and
// the shell links in the all-users Programs folder, read back through
// IShellLinkA. In a 64-bit prefix the program runs under WOW64 and its record
// lands in the 32-bit view of the registry.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/dialog_window.h"
#include "engine/setup_engine.h"
#include "tests/wine/e2e/files.h"

namespace {

using e2e::removeTree;

const char* const keyPath = "SOFTWARE\\Quillane\\Velmora";
const char* const wow64KeyPath = "SOFTWARE\\WOW6432Node\\Quillane\\Velmora";
const std::string testRoot = "C:\\velmora-engine-test";
const std::string sourceDir = testRoot + "\\disc\\Velmora";
const std::string installBase = testRoot + "\\Games";
const std::string installDir = installBase + "\\Quillane\\Velmora";

// Entries 0, 10 and 11 are the targets of the three links.
const char* installTable[] = {"Velmora.exe", "grd.pac",        "vic.pac",    "se.pac",
                              "sse.pac",     "mus.pac",        "srp.pac",    "ogg.dll",
                              "vorbis.dll",  "vorbisfile.dll", "readme.txt", "uninst.exe",
                              nullptr};
const char* extraTable[] = {"grd_2.pac", nullptr};
const char* labelTable[] = {"Velmora", nullptr};
const char* const linkNames[] = {"Velmora", "README", "アンインストール"};
const char* const linkTargets[] = {"Velmora.exe", "readme.txt", "uninst.exe"};

std::string contentsOf(const std::string& name, std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>(name[i % name.size()] + i / 65536);
    return s;
}

void writeFile(const std::string& path, const std::string& data) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
}

// A missing file reads as a text no copy can have.
std::string readFile(const std::string& path) { return e2e::readFile(path).value_or("<missing>"); }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }


std::string commonPrograms() {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_PROGRAMS, FALSE);
    return path;
}
std::string companyMenu() { return commonPrograms() + "\\Quillane"; }
std::string productMenu() { return companyMenu() + "\\Velmora"; }
std::string linkPath(int i) { return productMenu() + "\\" + linkNames[i] + ".lnk"; }

bool keyExists(const char* path, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string storedText(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return data;
}

struct LinkSeen {
    bool loaded = false;
    std::string target, workingDirectory;
};

LinkSeen readLink(const std::string& path) {
    LinkSeen seen;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char text[MAX_PATH] = {};
                link->GetPath(text, MAX_PATH, nullptr, 0);
                seen.target = text;
                link->GetWorkingDirectory(text, MAX_PATH);
                seen.workingDirectory = text;
                seen.loaded = true;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return seen;
}

bool sameText(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

struct BoxSeen {
    std::string caption, text;
};

// The setup dialog as far as the engine sees it: the bar (1005) and the two
// status lines (1019, 1021), in a window of this thread.
class EngineWindow {
public:
    EngineWindow() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        window_ = CreateWindowExA(0, "STATIC", "engine test", WS_POPUP, 0, 0, 400, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        child(PROGRESS_CLASSA, 1005);
        child("STATIC", 1019);
        child("STATIC", 1021);
        setupDialogWindow = reinterpret_cast<platform::Window>(window_);
    }
    ~EngineWindow() {
        setupDialogWindow = nullptr;
        DestroyWindow(window_);
    }
    std::string text(int id) const {
        char buffer[1024] = {};
        GetDlgItemTextA(window_, id, buffer, sizeof buffer);
        return buffer;
    }
    int barPosition() const {
        return static_cast<int>(SendDlgItemMessageA(window_, 1005, PBM_GETPOS, 0, 0));
    }

private:
    void child(const char* className, int id) {
        CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 20 * (id - 1000), 300, 18,
                        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), nullptr);
    }
    HWND window_;
};

// Runs work on a thread of its own while this thread serves its window and
// answers every message box of that thread: Yes where there is one, else OK.
bool runAnswering(const std::function<bool()>& work, std::vector<BoxSeen>* boxes) {
    std::atomic<bool> done{false};
    std::atomic<DWORD> workerId{0};
    bool result = false;
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        result = work();
        done = true;
    });
    HWND answered = nullptr;
    const DWORD giveUp = GetTickCount() + 300000;
    while (!done && GetTickCount() < giveUp) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        HWND box = FindWindowA("#32770", nullptr);
        if (box != nullptr && box != answered && workerId != 0 &&
            GetWindowThreadProcessId(box, nullptr) == workerId && IsWindowVisible(box)) {
            char caption[256] = {}, text[1024] = {};
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            boxes->push_back({caption, text});
            const int button = GetDlgItem(box, IDYES) != nullptr ? IDYES : IDOK;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            answered = box;
        }
        Sleep(1);
    }
    worker.join();
    return result;
}

class InstallEngineUnderWine : public ::testing::Test {
protected:
    void SetUp() override {
        clean();
        CreateDirectoryA(testRoot.c_str(), nullptr);
        CreateDirectoryA((testRoot + "\\disc").c_str(), nullptr);
        CreateDirectoryA(sourceDir.c_str(), nullptr);
        CreateDirectoryA(installBase.c_str(), nullptr);
        engine.configure(installTable, extraTable, labelTable, nullptr, "Quillane", "Velmora",
                         "Velmora", 1);
        engine.setProgressControl(1005);
        engine.setInstallType(2, 0, endOfList);
        text::copy(engine.sourceDir, sizeof engine.sourceDir, sourceDir.c_str());
        text::copy(engine.installBase, sizeof engine.installBase, installBase.c_str());
    }
    void TearDown() override { clean(); }
    static void clean() {
        // The install entered its folder; a current directory cannot be removed.
        SetCurrentDirectoryA("C:\\");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath);
        removeTree(companyMenu());
        removeTree(testRoot);
    }
    void writeSources(std::size_t size) {
        for (int i = 0; installTable[i] != nullptr; ++i)
            writeFile(sourceDir + "\\" + installTable[i], contentsOf(installTable[i], size));
    }

    SetupEngine engine;
};

TEST_F(InstallEngineUnderWine, InstallsThenUninstallsEverythingItMade) {
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    char expected[8] = {};
    GetEnvironmentVariableA("VELMORA_EXPECT_WOW64", expected, sizeof expected);
    ASSERT_EQ(wow64 != FALSE, std::string(expected) == "1") << "the prefix is not the one meant";

    writeSources(300000);
    EngineWindow window;
    std::vector<BoxSeen> boxes;
    ASSERT_TRUE(runAnswering([&] { return engine.install(); }, &boxes));
    EXPECT_EQ(engine.installed, 1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "確認");
    EXPECT_EQ(boxes[0].text, installDir + "\nフォルダを作成します。\nよろしいですか？");
    EXPECT_EQ(boxes[1].caption, "終了");
    EXPECT_EQ(boxes[1].text, "インストールが完了しました。");
    EXPECT_EQ(window.barPosition(), 1000);
    EXPECT_EQ(window.text(1019), "") << "cleared after the completion box";

    for (int i = 0; installTable[i] != nullptr; ++i)
        EXPECT_EQ(readFile(installDir + "\\" + installTable[i]), contentsOf(installTable[i], 300000))
            << installTable[i];
    EXPECT_EQ(storedText("Dir"), installDir);
    EXPECT_EQ(storedText("CD"), sourceDir);
    if (wow64) {
        EXPECT_TRUE(keyExists(wow64KeyPath, KEY_WOW64_64KEY)) << "the 32-bit view";
        EXPECT_FALSE(keyExists(keyPath, KEY_WOW64_64KEY)) << "not the 64-bit view";
    }
    for (int i = 0; i < 3; ++i) {
        const LinkSeen link = readLink(linkPath(i));
        ASSERT_TRUE(link.loaded) << linkPath(i);
        EXPECT_TRUE(sameText(link.target, installDir + "\\" + linkTargets[i])) << link.target;
        EXPECT_TRUE(sameText(link.workingDirectory, installDir)) << link.workingDirectory;
    }

    writeFile(installDir + "\\save.dat", "mine");
    boxes.clear();
    ASSERT_TRUE(runAnswering([&] { return engine.uninstallProduct(); }, &boxes));
    EXPECT_EQ(engine.installed, 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Velmora のアンインストールを開始します。\n開始してもよろしいですか？");
    EXPECT_EQ(boxes[1].text, "アンインストールが完了しました。");
    for (int i = 0; installTable[i] != nullptr; ++i)
        EXPECT_FALSE(exists(installDir + "\\" + installTable[i])) << installTable[i];
    EXPECT_TRUE(exists(installDir + "\\save.dat"));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(exists(linkPath(i))) << linkPath(i);
    EXPECT_FALSE(exists(productMenu()));
    EXPECT_FALSE(exists(companyMenu()));
    EXPECT_FALSE(keyExists(keyPath, 0));
    if (wow64) {
        EXPECT_FALSE(keyExists(wow64KeyPath, KEY_WOW64_64KEY));
    }
}

TEST_F(InstallEngineUnderWine, AnAbortDuringTheCopyTakesEverythingBack) {
    writeSources(2 * 1024 * 1024);
    CreateDirectoryA((installBase + "\\Quillane").c_str(), nullptr);
    CreateDirectoryA(installDir.c_str(), nullptr);  // no folder question
    writeFile(installDir + "\\save.dat", "mine");
    EngineWindow window;

    // The user's abort, from a thread of its own, once the copy has moved.
    std::atomic<bool> over{false};
    std::thread user([&] {
        while (!over && engine.bytesCopied.load() == 0) Sleep(0);
        if (engine.isBusy()) engine.cancelState = 1;
    });
    std::vector<BoxSeen> boxes;
    const bool result = runAnswering([&] { return engine.install(); }, &boxes);
    over = true;
    user.join();

    EXPECT_FALSE(result);
    EXPECT_EQ(engine.installed, 0);
    EXPECT_TRUE(boxes.empty()) << boxes.front().text;
    EXPECT_NE(engine.cancelState.load(), 0);
    for (int i = 0; installTable[i] != nullptr; ++i)
        EXPECT_FALSE(exists(installDir + "\\" + installTable[i])) << installTable[i];
    EXPECT_TRUE(exists(installDir + "\\save.dat"));
    EXPECT_FALSE(keyExists(keyPath, 0));
    EXPECT_FALSE(exists(productMenu()));
}

}  // namespace
