// The resources that Setup.exe carries: the setup dialog's install form (106)
// and the component selection dialog (109), read back from this test's own
// module, which links the same setup.rc; and both programs as built, loaded
// as data, for what they share and what each carries alone.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/resource_reader.h"
#include "ui/component_dialog.h"
#include "ui/dialog_ids.h"

namespace {

using namespace resource_reader;

// UTF-8, for messages.
std::string narrow(const std::u16string& s) {
    if (s.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(s.data());
    const int size = static_cast<int>(s.size());
    std::string out(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, size, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

// ------------------------------------------------------------------ controls

enum class Kind { pushButton, checkBox, text, progressBar };

struct ExpectedControl {
    const char* role;
    int id;
    Kind kind;
    bool visible;
    bool enabled;
};

// Every control ID of the setup dialog. IDCANCEL is the one hidden control:
// the program disables it during an install, which stops Esc and the close
// box from ending the program while 終了 (1002) still does.
const ExpectedControl kInstallForm[] = {
    {"cancel (Esc, close box)", ids::cancel, Kind::pushButton, false, true},
    {"install or abort", ids::installOrAbort, Kind::pushButton, true, true},
    {"start game", ids::startGame, Kind::pushButton, true, true},
    {"exit", ids::exitProgram, Kind::pushButton, true, true},
    {"choose folder", ids::chooseFolder, Kind::pushButton, true, true},
    {"installation folder", ids::installFolder, Kind::text, true, true},
    {"progress bar", ids::progressBar, Kind::progressBar, true, true},
    {"read-me", ids::readme, Kind::pushButton, true, true},
    {"update", ids::update, Kind::pushButton, true, true},
    {"question", ids::question, Kind::text, true, true},
    {"uninstall", ids::uninstall, Kind::pushButton, true, true},
    {"white label", ids::whiteLabel, Kind::text, true, true},
    {"black label", ids::blackLabel, Kind::text, true, true},
    {"status line 0", ids::statusLine0, Kind::text, true, true},
    {"manual", ids::manual, Kind::pushButton, true, true},
    {"status line 1", ids::statusLine1, Kind::text, true, true},
};

// The controls the component procedure addresses. The procedure reads the
// component boxes with BM_GETCHECK after a click, so they tick themselves;
// 1020 stands for the game itself and cannot be unticked.
const ExpectedControl kComponentDialog[] = {
    {"required size", componentIds::sizeText, Kind::text, true, true},
    {"OK", componentIds::ok, Kind::pushButton, true, true},
    {"cancel", componentIds::cancel, Kind::pushButton, true, true},
    {"install type", componentIds::installType, Kind::checkBox, true, true},
    {"the game itself", componentIds::alwaysTicked, Kind::checkBox, true, false},
    {"graphics", componentIds::graphics, Kind::checkBox, true, true},
    {"music", componentIds::music, Kind::checkBox, true, true},
    {"voices", componentIds::voices, Kind::checkBox, true, true},
};

constexpr DWORD kUnnamed = 0xFFFF;  // -1 in a DIALOG template

DWORD buttonType(DWORD style) { return style & BS_TYPEMASK; }
DWORD staticType(DWORD style) { return style & SS_TYPEMASK; }

// Empty when the control is of the kind, else what is wrong.
std::string kindFault(const Control& c, Kind kind) {
    switch (kind) {
        case Kind::pushButton:
            if (c.className != u"button") return "not a button";
            if (buttonType(c.style) != BS_PUSHBUTTON && buttonType(c.style) != BS_DEFPUSHBUTTON)
                return "not a push button";
            return {};
        case Kind::checkBox:
            if (c.className != u"button") return "not a button";
            if (buttonType(c.style) != BS_AUTOCHECKBOX) return "not a check box that ticks itself";
            return {};
        case Kind::text: {
            if (c.className != u"static") return "not a static control";
            const DWORD type = staticType(c.style);
            if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
                return "not a text static";
            return {};
        }
        case Kind::progressBar:
            if (c.className != u"msctls_progress32") return "not a progress bar";
            return {};
    }
    return "unknown kind";
}

std::vector<const Control*> withId(const Dialog& d, DWORD id) {
    std::vector<const Control*> found;
    for (const Control& c : d.controls)
        if (c.id == id) found.push_back(&c);
    return found;
}

void expectControls(const Dialog& d, const ExpectedControl* begin, const ExpectedControl* end) {
    for (const ExpectedControl* e = begin; e != end; ++e) {
        SCOPED_TRACE(e->role);
        const std::vector<const Control*> found = withId(d, static_cast<DWORD>(e->id));
        ASSERT_FALSE(found.empty()) << "no control " << e->id;
        // GetDlgItem finds only the first of several.
        EXPECT_EQ(found.size(), 1u) << "ID " << e->id << " is used more than once";
        const Control& c = *found.front();
        EXPECT_EQ(kindFault(c, e->kind), "") << "control " << e->id;
        EXPECT_NE(c.style & WS_CHILD, 0u);
        EXPECT_EQ((c.style & WS_VISIBLE) != 0, e->visible);
        EXPECT_EQ((c.style & WS_DISABLED) == 0, e->enabled);
    }
}

// IDs the template uses beyond the expected ones and the unnamed -1.
std::set<DWORD> strayIds(const Dialog& d, const ExpectedControl* begin, const ExpectedControl* end) {
    std::set<DWORD> stray;
    for (const Control& c : d.controls) {
        bool known = c.id == kUnnamed;
        for (const ExpectedControl* e = begin; e != end; ++e) known = known || c.id == static_cast<DWORD>(e->id);
        if (!known) stray.insert(c.id);
    }
    return stray;
}

// ------------------------------------------------------------------ layout

struct Box {
    int left, top, right, bottom;
};

Box boxOf(const Control& c) { return {c.x, c.y, c.x + c.cx, c.y + c.cy}; }

bool overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool contains(const Box& outer, const Box& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool isDarkBand(const Control& c) {
    return c.className == u"static" && (staticType(c.style) == SS_BLACKRECT || staticType(c.style) == SS_GRAYRECT);
}

// A control drawn behind others: a group box, or a filled or framed
// rectangle.
bool isBackdrop(const Control& c) {
    if (c.className == u"button") return buttonType(c.style) == BS_GROUPBOX;
    if (c.className != u"static") return false;
    switch (staticType(c.style)) {
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT:
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME:
        case SS_ETCHEDFRAME: return true;
        default: return false;
    }
}

std::string nameOf(const Control& c) {
    return (c.id == kUnnamed ? std::string("unnamed ") + narrow(c.className) : std::to_string(c.id)) + " \"" +
           narrow(c.text) + "\"";
}

// What is wrong with the placement of the visible controls, in dialog units:
// one outside the dialog or of no size, or two that overlap without one
// being a backdrop that holds the other whole.
std::vector<std::string> layoutFaults(const Dialog& d) {
    std::vector<std::string> faults;
    const Box dialog{0, 0, d.cx, d.cy};
    std::vector<const Control*> shown;
    for (const Control& c : d.controls)
        if (c.style & WS_VISIBLE) shown.push_back(&c);
    for (const Control* c : shown) {
        if (c->cx <= 0 || c->cy <= 0) faults.push_back(nameOf(*c) + " has no size");
        if (!contains(dialog, boxOf(*c))) faults.push_back(nameOf(*c) + " reaches outside the dialog");
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const Control& a = *shown[i];
            const Control& b = *shown[j];
            if (!overlap(boxOf(a), boxOf(b))) continue;
            const bool held = (isBackdrop(a) && !isBackdrop(b) && contains(boxOf(a), boxOf(b))) ||
                              (isBackdrop(b) && !isBackdrop(a) && contains(boxOf(b), boxOf(a)));
            if (!held) faults.push_back(nameOf(a) + " overlaps " + nameOf(b));
        }
    return faults;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += "\n  " + l;
    return out;
}

// ------------------------------------------------------------------ templates

Dialog japaneseTemplate(int id) {
    Bytes b = findJapanese(RT_DIALOG, MAKEINTRESOURCEA(id));
    if (b.data == nullptr) return {};
    return parseDialog(b);
}

class SetupTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        installForm_ = japaneseTemplate(IDD_INSTALL_DIALOG);
        components_ = japaneseTemplate(IDD_COMPONENT_DIALOG);
        ASSERT_TRUE(installForm_.parsed) << "no whole Japanese template 106";
        ASSERT_TRUE(components_.parsed) << "no whole Japanese template 109";
    }
    Dialog installForm_;
    Dialog components_;
};

TEST_F(SetupTemplates, TemplatesAreJapaneseOnly) {
    for (int id : {IDD_INSTALL_DIALOG, IDD_COMPONENT_DIALOG}) {
        SCOPED_TRACE("template " + std::to_string(id));
        EXPECT_EQ(languagesOf(RT_DIALOG, MAKEINTRESOURCEA(id)), std::set<WORD>{kJapanese});
    }
}

TEST_F(SetupTemplates, FramesAndFonts) {
    struct Frame {
        const char* name;
        const Dialog* dialog;
        DWORD style;
    };
    // The install form has a close box, which sends IDCANCEL and so exits.
    // The component procedure ignores IDCANCEL, so that dialog has none: a
    // close box that does nothing would only puzzle.
    const Frame frames[] = {
        {"install form", &installForm_, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT},
        {"component dialog", &components_, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT},
    };
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(f.dialog->style, f.style) << std::hex << "style 0x" << f.dialog->style;
        EXPECT_EQ(f.dialog->exStyle, 0u);
        EXPECT_EQ(f.dialog->menuOrdinal, 0);
        EXPECT_TRUE(f.dialog->menuName.empty());
        EXPECT_EQ(f.dialog->classOrdinal, 0);
        EXPECT_TRUE(f.dialog->className.empty());
        EXPECT_EQ(f.dialog->fontName, u"ＭＳ Ｐゴシック");
        EXPECT_EQ(f.dialog->pointSize, 9);
        EXPECT_FALSE(f.dialog->caption.empty());
    }
}

TEST_F(SetupTemplates, InstallFormCarriesEveryControlOfTheSetupDialog) {
    expectControls(installForm_, std::begin(kInstallForm), std::end(kInstallForm));
    EXPECT_EQ(strayIds(installForm_, std::begin(kInstallForm), std::end(kInstallForm)), std::set<DWORD>{});
}

TEST_F(SetupTemplates, InstallButtonStartsWithTheCaptionTheProgramRestores) {
    const std::vector<const Control*> install = withId(installForm_, ids::installOrAbort);
    ASSERT_FALSE(install.empty());
    EXPECT_EQ(install.front()->text, u"インストール");
}

TEST_F(SetupTemplates, ComponentDialogCarriesTheControlsItsProcedureAddresses) {
    expectControls(components_, std::begin(kComponentDialog), std::end(kComponentDialog));
    // A button with either ID would do nothing: the procedure ignores both.
    EXPECT_TRUE(withId(components_, IDOK).empty());
    EXPECT_TRUE(withId(components_, IDCANCEL).empty());
}

TEST_F(SetupTemplates, NoButtonSendsMoreThanClicks) {
    // Both procedures act on every WM_COMMAND from a control, whatever its
    // notification code; with BS_NOTIFY a button that gains the focus would
    // count as pressed (OK would close the component dialog on Tab).
    for (const Dialog* d : {&installForm_, &components_})
        for (const Control& c : d->controls) {
            if (c.className != u"button") continue;
            EXPECT_EQ(c.style & BS_NOTIFY, 0u) << nameOf(c);
        }
}

TEST_F(SetupTemplates, ControlsLieInsideAndApart) {
    EXPECT_EQ(joined(layoutFaults(installForm_)), "") << "install form";
    EXPECT_EQ(joined(layoutFaults(components_)), "") << "component dialog";
}

TEST_F(SetupTemplates, WhiteLabelSitsOnADarkBandPaintedBeforeIt) {
    // 1017 is drawn white with no background of its own. A band above it in
    // the Z order (earlier in the template) is painted first.
    const Control* label = nullptr;
    const Control* band = nullptr;
    for (const Control& c : installForm_.controls) {
        if (c.id == static_cast<DWORD>(ids::whiteLabel)) {
            label = &c;
            break;
        }
        if ((c.style & WS_VISIBLE) && isDarkBand(c)) band = &c;
    }
    ASSERT_NE(label, nullptr);
    ASSERT_NE(band, nullptr) << "no dark band before the white label";
    EXPECT_TRUE(contains(boxOf(*band), boxOf(*label)));
}

TEST_F(SetupTemplates, BlackLabelIsOffEveryDarkBand) {
    const std::vector<const Control*> label = withId(installForm_, ids::blackLabel);
    ASSERT_FALSE(label.empty());
    for (const Control& c : installForm_.controls) {
        if (!isDarkBand(c)) continue;
        EXPECT_FALSE(overlap(boxOf(c), boxOf(*label.front()))) << nameOf(c);
    }
}

// ------------------------------------------------------------------ windows

// The templates through the dialog manager. This needs a display (Xvfb
// under Wine); without one no window at all can be made, and the tests say
// so and skip.
INT_PTR CALLBACK inertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The font the setup dialog's procedure selects for its two labels.
HFONT createLabelFont() {
    return CreateFontW(16, 8, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, ANTIALIASED_QUALITY,
                       FIXED_PITCH, nullptr);
}

struct TextSample {
    int dialog;
    int id;
    const wchar_t* text;  // as the program sets it; nullptr: the template's own
};

// Texts the programs put into the controls, and the template texts of the
// controls they do not write.
const TextSample kTexts[] = {
    {IDD_INSTALL_DIALOG, ids::installOrAbort, nullptr},
    {IDD_INSTALL_DIALOG, ids::installOrAbort, L"中断"},
    {IDD_INSTALL_DIALOG, ids::startGame, nullptr},
    {IDD_INSTALL_DIALOG, ids::exitProgram, nullptr},
    {IDD_INSTALL_DIALOG, ids::chooseFolder, nullptr},
    {IDD_INSTALL_DIALOG, ids::installFolder, L"c:\\Program Files\\Quillane\\Velmora"},
    {IDD_INSTALL_DIALOG, ids::readme, nullptr},
    {IDD_INSTALL_DIALOG, ids::update, nullptr},
    {IDD_INSTALL_DIALOG, ids::question, L"Velmora\x3000を\nアップデートしますか？"},
    {IDD_INSTALL_DIALOG, ids::uninstall, nullptr},
    {IDD_INSTALL_DIALOG, ids::whiteLabel, nullptr},
    {IDD_INSTALL_DIALOG, ids::blackLabel, nullptr},
    {IDD_INSTALL_DIALOG, ids::statusLine0, L"レジストリにゲーム情報を書き込んでいます。"},
    {IDD_INSTALL_DIALOG, ids::statusLine0, L"スタートメニューに登録しています。"},
    {IDD_INSTALL_DIALOG, ids::statusLine0, L"grd.pac |"},
    {IDD_INSTALL_DIALOG, ids::manual, nullptr},
    {IDD_INSTALL_DIALOG, ids::statusLine1, L"10:59:59"},
    {IDD_COMPONENT_DIALOG, componentIds::sizeText, nullptr},
    {IDD_COMPONENT_DIALOG, componentIds::sizeText, L"1617M byte"},
    {IDD_COMPONENT_DIALOG, componentIds::sizeText, L"2300M"},
    {IDD_COMPONENT_DIALOG, componentIds::ok, nullptr},
    {IDD_COMPONENT_DIALOG, componentIds::cancel, nullptr},
    {IDD_COMPONENT_DIALOG, componentIds::installType, nullptr},
    {IDD_COMPONENT_DIALOG, componentIds::alwaysTicked, nullptr},
    {IDD_COMPONENT_DIALOG, componentIds::graphics, nullptr},
    {IDD_COMPONENT_DIALOG, componentIds::music, nullptr},
    {IDD_COMPONENT_DIALOG, componentIds::voices, nullptr},
};

std::wstring windowText(HWND w) {
    wchar_t buffer[512] = {};
    GetWindowTextW(w, buffer, 512);
    return buffer;
}

std::u16string className(HWND w) {
    wchar_t buffer[256] = {};
    GetClassNameW(w, buffer, 256);
    return lower(std::u16string(reinterpret_cast<const char16_t*>(buffer)));
}

std::vector<std::wstring> lines(const std::wstring& text) {
    std::vector<std::wstring> out(1);
    for (wchar_t c : text) {
        if (c == L'\n') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

// Pixels of a control's width that its text cannot use.
int reservedWidth(HWND control) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (className(control) == u"button") {
        const DWORD type = static_cast<DWORD>(style) & BS_TYPEMASK;
        if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) return GetSystemMetrics(SM_CXMENUCHECK) + 4;
        return 8;  // a push button's frame and its focus rectangle
    }
    return 0;  // a static's client area holds only its text
}

class SetupDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe == nullptr) GTEST_SKIP() << "no window can be created here (no display)";
        DestroyWindow(probe);
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        for (int id : {IDD_INSTALL_DIALOG, IDD_COMPONENT_DIALOG}) {
            HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr,
                                             inertDialogProc, 0);
            ASSERT_NE(dialog, nullptr) << "the dialog manager rejects template " << id << ", error "
                                       << GetLastError();
            (id == IDD_INSTALL_DIALOG ? installForm_ : components_) = dialog;
        }
    }
    void TearDown() override {
        if (installForm_ != nullptr) DestroyWindow(installForm_);
        if (components_ != nullptr) DestroyWindow(components_);
    }
    HWND dialog(int id) const { return id == IDD_INSTALL_DIALOG ? installForm_ : components_; }
    HWND installForm_ = nullptr;
    HWND components_ = nullptr;
};

TEST_F(SetupDialogWindows, ControlsAreMadeOfTheirClasses) {
    struct Made {
        int dialog;
        const ExpectedControl* begin;
        const ExpectedControl* end;
    };
    const Made made[] = {
        {IDD_INSTALL_DIALOG, std::begin(kInstallForm), std::end(kInstallForm)},
        {IDD_COMPONENT_DIALOG, std::begin(kComponentDialog), std::end(kComponentDialog)},
    };
    for (const Made& m : made)
        for (const ExpectedControl* e = m.begin; e != m.end; ++e) {
            SCOPED_TRACE(e->role);
            HWND control = GetDlgItem(dialog(m.dialog), e->id);
            ASSERT_NE(control, nullptr);
            const std::u16string expected = e->kind == Kind::progressBar ? u"msctls_progress32"
                                            : e->kind == Kind::text      ? u"static"
                                                                         : u"button";
            EXPECT_EQ(className(control), expected);
        }
}

TEST_F(SetupDialogWindows, EnterPressesInstallAndStart) {
    struct Default {
        int dialog;
        int id;
    };
    for (const Default& d : {Default{IDD_INSTALL_DIALOG, ids::installOrAbort},
                             Default{IDD_COMPONENT_DIALOG, componentIds::ok}}) {
        SCOPED_TRACE("template " + std::to_string(d.dialog));
        const LRESULT def = SendMessageW(dialog(d.dialog), DM_GETDEFID, 0, 0);
        EXPECT_EQ(HIWORD(def), DC_HASDEFID);
        EXPECT_EQ(LOWORD(def), d.id);
    }
}

TEST_F(SetupDialogWindows, TextsFitTheirControls) {
    HFONT labelFont = createLabelFont();
    ASSERT_NE(labelFont, nullptr);
    for (const TextSample& s : kTexts) {
        HWND control = GetDlgItem(dialog(s.dialog), s.id);
        ASSERT_NE(control, nullptr) << s.id;
        const std::wstring text = s.text != nullptr ? s.text : windowText(control);
        SCOPED_TRACE("template " + std::to_string(s.dialog) + ", control " + std::to_string(s.id));
        EXPECT_FALSE(text.empty());
        RECT client{};
        GetClientRect(control, &client);
        const int width = client.right - reservedWidth(control);

        // The labels may be drawn in the procedure's label font or in the
        // dialog's; the text must fit in either.
        std::vector<HFONT> fonts = {reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0))};
        if (s.id == ids::whiteLabel || s.id == ids::blackLabel) fonts.push_back(labelFont);
        HDC dc = GetDC(control);
        for (HFONT font : fonts) {
            HGDIOBJ old = SelectObject(dc, font);
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            const std::vector<std::wstring> rows = lines(text);
            for (const std::wstring& row : rows) {
                SIZE extent{};
                GetTextExtentPoint32W(dc, row.c_str(), static_cast<int>(row.size()), &extent);
                EXPECT_LE(extent.cx, width) << "a line " << extent.cx << " px wide in " << width << " px";
            }
            EXPECT_LE(static_cast<LONG>(rows.size()) * metrics.tmHeight, client.bottom)
                << rows.size() << " lines of " << metrics.tmHeight << " px in " << client.bottom << " px";
            SelectObject(dc, old);
        }
        ReleaseDC(control, dc);
    }
    DeleteObject(labelFont);
}

// ------------------------------------------------------------------ programs

// Update.exe and Setup.exe as built, beside this test.
std::wstring besideThisTest(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

struct Program {
    const wchar_t* file;
    std::set<std::string> dialogs;
    const char16_t* description;
    const char16_t* internalName;
    const char16_t* originalName;
};

const Program kPrograms[] = {
    {L"Update.exe", {"#105"}, u"Velmora アップデート", u"Update", u"Update.exe"},
    {L"Setup.exe", {"#106", "#109"}, u"Velmora セットアップ", u"Setup", u"Setup.exe"},
};

class BuiltPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        for (const Program& p : kPrograms) {
            HMODULE m = LoadLibraryExW(besideThisTest(p.file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
            ASSERT_NE(m, nullptr) << "cannot load " << narrow(std::u16string(p.file, p.file + wcslen(p.file)))
                                  << " beside the test, error " << GetLastError();
            modules_.push_back(m);
        }
    }
    void TearDown() override {
        for (HMODULE m : modules_) FreeLibrary(m);
    }
    std::vector<HMODULE> modules_;
};

std::string programName(const Program& p) {
    return narrow(std::u16string(p.file, p.file + wcslen(p.file)));
}

bool sameBytes(Bytes a, Bytes b) {
    return a.data != nullptr && b.data != nullptr && a.size == b.size && std::memcmp(a.data, b.data, a.size) == 0;
}

TEST_F(BuiltPrograms, EachCarriesItsOwnDialogsAndTheSharedResources) {
    for (std::size_t i = 0; i < modules_.size(); ++i) {
        SCOPED_TRACE(programName(kPrograms[i]));
        EXPECT_EQ(namesOf(RT_DIALOG, modules_[i]), kPrograms[i].dialogs);
        EXPECT_EQ(namesOf(RT_GROUP_ICON, modules_[i]), std::set<std::string>{"#104"});
        EXPECT_EQ(namesOf(RT_MANIFEST, modules_[i]), std::set<std::string>{"#1"});
    }
}

TEST_F(BuiltPrograms, SetupShipsTheTemplatesTestedHere) {
    HMODULE setup = modules_[1];
    for (int id : {IDD_INSTALL_DIALOG, IDD_COMPONENT_DIALOG}) {
        SCOPED_TRACE("template " + std::to_string(id));
        EXPECT_TRUE(sameBytes(findJapanese(RT_DIALOG, MAKEINTRESOURCEA(id), setup),
                              findJapanese(RT_DIALOG, MAKEINTRESOURCEA(id))));
    }
}

TEST_F(BuiltPrograms, ShareTheIconAndTheManifest) {
    HMODULE update = modules_[0];
    HMODULE setup = modules_[1];
    const Bytes group = findJapanese(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN_ICON), update);
    EXPECT_TRUE(sameBytes(group, findJapanese(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN_ICON), setup)));
    const std::vector<GroupIconEntry> entries = groupEntries(group);
    EXPECT_FALSE(entries.empty());
    for (const GroupIconEntry& e : entries) {
        SCOPED_TRACE("icon image " + std::to_string(e.id));
        EXPECT_TRUE(sameBytes(findJapanese(RT_ICON, MAKEINTRESOURCEA(e.id), update),
                              findJapanese(RT_ICON, MAKEINTRESOURCEA(e.id), setup)));
    }
    EXPECT_TRUE(sameBytes(findJapanese(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, update),
                          findJapanese(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, setup)));
}

std::vector<std::uint8_t> versionBlock(const Program& p) {
    const std::wstring path = besideThisTest(p.file);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<std::uint8_t> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) block.clear();
    return block;
}

std::u16string versionString(std::vector<std::uint8_t>& block, const char* name) {
    std::wstring path = L"\\StringFileInfo\\041103a4\\";
    for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(*c);
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), path.c_str(), &value, &length) || value == nullptr)
        return u"<missing>";
    std::u16string s(static_cast<const char16_t*>(value), length);
    while (!s.empty() && s.back() == u'\0') s.pop_back();
    return s;
}

TEST_F(BuiltPrograms, VersionBlocksDifferOnlyInTheProgramsNames) {
    std::vector<std::uint8_t> blocks[2] = {versionBlock(kPrograms[0]), versionBlock(kPrograms[1])};
    VS_FIXEDFILEINFO fixed[2] = {};
    for (int i = 0; i < 2; ++i) {
        const Program& p = kPrograms[i];
        SCOPED_TRACE(programName(p));
        ASSERT_FALSE(blocks[i].empty()) << "no version block";
        void* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(blocks[i].data(), L"\\", &value, &length));
        ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
        std::memcpy(&fixed[i], value, sizeof fixed[i]);
        EXPECT_EQ(versionString(blocks[i], "FileDescription"), p.description);
        EXPECT_EQ(versionString(blocks[i], "InternalName"), p.internalName);
        EXPECT_EQ(versionString(blocks[i], "OriginalFilename"), p.originalName);
        for (const char* shared : {"CompanyName", "ProductName", "FileVersion", "ProductVersion"}) {
            SCOPED_TRACE(shared);
            EXPECT_EQ(versionString(blocks[i], shared), versionString(blocks[0], shared));
            EXPECT_NE(versionString(blocks[i], shared), u"<missing>");
        }
    }
    EXPECT_EQ(std::memcmp(&fixed[0], &fixed[1], sizeof fixed[0]), 0) << "the fixed infos differ";
}

}  // namespace
