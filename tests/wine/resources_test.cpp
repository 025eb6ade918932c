// The resources that Update.exe carries, read back from this test's own
// module, which links the same update.rc: the setup dialog template, the
// icon group, the version block and the manifest, each in Japanese.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/wine/resource_reader.h"

namespace {

using namespace resource_reader;

// ------------------------------------------------------------------ dialog

class SetupDialogTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        Bytes b = findJapanese(RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP_DIALOG));
        ASSERT_NE(b.data, nullptr) << "no Japanese dialog template 105";
        dialog_ = parseDialog(b);
        ASSERT_TRUE(dialog_.parsed) << "template 105 ends early";
    }
    Dialog dialog_;
};

TEST_F(SetupDialogTemplate, FrameHasExactlyItsStyleBits) {
    // No WS_SYSMENU (no close box), no WS_VISIBLE, nothing a statement
    // default would add.
    EXPECT_EQ(dialog_.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT))
        << std::hex << "style 0x" << dialog_.style;
    EXPECT_EQ(dialog_.exStyle, 0u);
}

TEST_F(SetupDialogTemplate, FramePositionAndSize) {
    EXPECT_EQ(dialog_.x, 0);
    EXPECT_EQ(dialog_.y, 0);
    EXPECT_EQ(dialog_.cx, 187);
    EXPECT_EQ(dialog_.cy, 51);
}

TEST_F(SetupDialogTemplate, HasNoMenuAndTheStandardDialogClass) {
    EXPECT_EQ(dialog_.menuOrdinal, 0);
    EXPECT_TRUE(dialog_.menuName.empty());
    EXPECT_EQ(dialog_.classOrdinal, 0);
    EXPECT_TRUE(dialog_.className.empty());
}

TEST_F(SetupDialogTemplate, CaptionIsHalfWidthKatakana) {
    EXPECT_EQ(dialog_.caption, u"ﾀﾞｲｱﾛｸﾞ");
    EXPECT_EQ(dialog_.caption, (std::u16string{0xFF80, 0xFF9E, 0xFF72, 0xFF71, 0xFF9B, 0xFF78, 0xFF9E}));
}

TEST_F(SetupDialogTemplate, FontIsMsPGothicNinePoints) {
    // Full-width "ＭＳ", an ASCII space, full-width "Ｐ", then katakana.
    EXPECT_EQ(dialog_.fontName, u"ＭＳ Ｐゴシック");
    EXPECT_EQ(dialog_.fontName,
              (std::u16string{0xFF2D, 0xFF33, 0x0020, 0xFF30, 0x30B4, 0x30B7, 0x30C3, 0x30AF}));
    EXPECT_EQ(dialog_.pointSize, 9);
}

struct ExpectedControl {
    const char* role;
    DWORD id;
    const char16_t* className;
    const char16_t* text;
    DWORD style;
    short x, y, cx, cy;
};

// In template order, which is also the tab order.
const ExpectedControl kControls[] = {
    {"update", IDC_UPDATE_BUTTON, u"button", u"アップデート",
     BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP, 7, 30, 78, 14},
    {"cancel", IDCANCEL, u"button", u"ｷｬﾝｾﾙ",
     BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP, 102, 30, 78, 14},
    {"question", IDC_QUESTION_TEXT, u"static", u"Static",
     SS_LEFT | WS_CHILD | WS_VISIBLE | WS_GROUP, 7, 7, 173, 20},
};

TEST_F(SetupDialogTemplate, HoldsTheThreeControlsInOrder) {
    std::vector<DWORD> ids;
    for (const Control& c : dialog_.controls) ids.push_back(c.id);
    std::vector<DWORD> expected;
    for (const ExpectedControl& e : kControls) expected.push_back(e.id);
    EXPECT_EQ(ids, expected);
}

TEST_F(SetupDialogTemplate, EachControlAsSpecified) {
    for (const ExpectedControl& e : kControls) {
        SCOPED_TRACE(e.role);
        const Control* found = nullptr;
        for (const Control& c : dialog_.controls)
            if (c.id == e.id) found = &c;
        ASSERT_NE(found, nullptr) << "no control " << e.id;
        EXPECT_EQ(found->className, e.className);
        EXPECT_EQ(found->text, e.text);
        EXPECT_EQ(found->style, e.style) << std::hex << "style 0x" << found->style;
        EXPECT_EQ(found->exStyle, 0u);
        EXPECT_EQ(found->x, e.x);
        EXPECT_EQ(found->y, e.y);
        EXPECT_EQ(found->cx, e.cx);
        EXPECT_EQ(found->cy, e.cy);
    }
}

// The same template through the dialog manager, as the program shows it.
// This needs a display (Xvfb under Wine); without one no window at all can
// be made, and the test says so and skips.
INT_PTR CALLBACK inertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class SetupDialogWindow : public ::testing::Test {
protected:
    void SetUp() override {
        HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (probe == nullptr) GTEST_SKIP() << "no window can be created here (no display)";
        DestroyWindow(probe);
        dialog_ = CreateDialogParamA(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(IDD_SETUP_DIALOG), nullptr,
                                     inertDialogProc, 0);
        ASSERT_NE(dialog_, nullptr) << "the dialog manager rejects template 105, error " << GetLastError();
    }
    void TearDown() override {
        if (dialog_ != nullptr) DestroyWindow(dialog_);
    }
    static std::u16string windowText(HWND w) {
        wchar_t buffer[256] = {};
        GetWindowTextW(w, buffer, 256);
        return std::u16string(reinterpret_cast<const char16_t*>(buffer));
    }
    static std::u16string className(HWND w) {
        wchar_t buffer[256] = {};
        GetClassNameW(w, buffer, 256);
        return lower(std::u16string(reinterpret_cast<const char16_t*>(buffer)));
    }
    HWND dialog_ = nullptr;
};

TEST_F(SetupDialogWindow, StartsHiddenWithoutSystemMenu) {
    const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
    EXPECT_FALSE(IsWindowVisible(dialog_));
    EXPECT_EQ(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(windowText(dialog_), u"ﾀﾞｲｱﾛｸﾞ");
}

TEST_F(SetupDialogWindow, UpdateIsTheDefaultButton) {
    const LRESULT def = SendMessageW(dialog_, DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(def), DC_HASDEFID);
    EXPECT_EQ(LOWORD(def), IDC_UPDATE_BUTTON);
}

TEST_F(SetupDialogWindow, ControlsAreRealButtonsAndStatics) {
    for (const ExpectedControl& e : kControls) {
        SCOPED_TRACE(e.role);
        HWND control = GetDlgItem(dialog_, static_cast<int>(e.id));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(className(control), e.className);
        EXPECT_EQ(windowText(control), e.text);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)), e.style);
    }
}

TEST_F(SetupDialogWindow, UsesTheTemplateFont) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr) << "DS_SETFONT without a font";
    LOGFONTW logical{};
    ASSERT_NE(GetObjectW(font, sizeof logical, &logical), 0);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(logical.lfFaceName)), u"ＭＳ Ｐゴシック");
}

// ------------------------------------------------------------------ icon

int entrySize(const GroupIconEntry& e) { return e.width == 0 ? 256 : e.width; }

const int kIconSizes[] = {256, 128, 96, 48, 32, 24, 16};

class MainIcon : public ::testing::Test {
protected:
    void SetUp() override {
        group_ = findJapanese(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN_ICON));
        ASSERT_NE(group_.data, nullptr) << "no Japanese icon group 104";
        entries_ = groupEntries(group_);
    }
    const GroupIconEntry* entryFor(int size) const {
        for (const GroupIconEntry& e : entries_)
            if (entrySize(e) == size) return &e;
        return nullptr;
    }
    Bytes group_;
    std::vector<GroupIconEntry> entries_;
};

TEST_F(MainIcon, HoldsTheSevenSizesLargestFirst) {
    std::vector<int> sizes;
    for (const GroupIconEntry& e : entries_) sizes.push_back(entrySize(e));
    EXPECT_EQ(sizes, std::vector<int>(std::begin(kIconSizes), std::end(kIconSizes)));
}

TEST_F(MainIcon, EveryEntryIsSquareTrueColourWithAlpha) {
    for (const GroupIconEntry& e : entries_) {
        SCOPED_TRACE("size " + std::to_string(entrySize(e)));
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.colors, 0);
        EXPECT_EQ(e.planes, 1);
        EXPECT_EQ(e.bitCount, 32);
    }
}

// Alpha of pixel (x, y), y counted from the top, in a 32-bit icon DIB.
int dibAlpha(const std::uint8_t* pixels, int size, int x, int y) {
    return pixels[((size - 1 - y) * size + x) * 4 + 3];
}

// AND mask bit of pixel (x, y): 1 = transparent.
int dibMask(const std::uint8_t* mask, int size, int x, int y) {
    const int stride = (size + 31) / 32 * 4;
    return (mask[(size - 1 - y) * stride + x / 8] >> (7 - x % 8)) & 1;
}

TEST_F(MainIcon, ImagesMatchTheirEntries) {
    for (int size : kIconSizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        const GroupIconEntry* e = entryFor(size);
        ASSERT_NE(e, nullptr);
        Bytes image = findJapanese(RT_ICON, MAKEINTRESOURCEA(e->id));
        ASSERT_NE(image.data, nullptr) << "no Japanese icon image " << e->id;
        EXPECT_EQ(image.size, e->bytesInRes);

        static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        const bool png = image.size >= 8 && std::memcmp(image.data, kPng, 8) == 0;
        if (size == 256) {
            // The largest image is a PNG: 8-bit RGBA of 256 x 256.
            ASSERT_TRUE(png);
            ASSERT_GE(image.size, 33u);
            auto be32 = [&](std::size_t at) {
                return static_cast<std::uint32_t>(image.data[at]) << 24 | image.data[at + 1] << 16 |
                       image.data[at + 2] << 8 | image.data[at + 3];
            };
            EXPECT_EQ(std::memcmp(image.data + 12, "IHDR", 4), 0);
            EXPECT_EQ(be32(16), 256u);
            EXPECT_EQ(be32(20), 256u);
            EXPECT_EQ(image.data[24], 8);  // bits per channel
            EXPECT_EQ(image.data[25], 6);  // RGBA
            continue;
        }
        ASSERT_FALSE(png);
        // The others are DIBs: colour rows of BGRA, then the AND mask.
        ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER h;
        std::memcpy(&h, image.data, sizeof h);
        EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(h.biWidth, size);
        EXPECT_EQ(h.biHeight, 2 * size);  // colour and mask
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, 32);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        const std::size_t colour = static_cast<std::size_t>(size) * size * 4;
        const std::size_t mask = static_cast<std::size_t>((size + 31) / 32 * 4) * size;
        ASSERT_EQ(image.size, sizeof h + colour + mask);

        // Rounded corners: the corner pixel is transparent in both alpha and
        // mask, the centre is opaque, and the edges are anti-aliased.
        const std::uint8_t* pixels = image.data + sizeof h;
        const std::uint8_t* andMask = pixels + colour;
        EXPECT_EQ(dibAlpha(pixels, size, 0, 0), 0);
        EXPECT_EQ(dibMask(andMask, size, 0, 0), 1);
        EXPECT_EQ(dibAlpha(pixels, size, size / 2, size / 2), 255);
        EXPECT_EQ(dibMask(andMask, size, size / 2, size / 2), 0);
        bool partial = false;
        bool maskFollowsAlpha = true;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int a = dibAlpha(pixels, size, x, y);
                partial = partial || (a > 0 && a < 255);
                maskFollowsAlpha = maskFollowsAlpha && (dibMask(andMask, size, x, y) == (a == 0 ? 1 : 0));
            }
        EXPECT_TRUE(partial) << "no anti-aliased pixel";
        EXPECT_TRUE(maskFollowsAlpha) << "AND mask does not mark exactly the transparent pixels";
    }
}

TEST_F(MainIcon, SystemPicksTheImageOfEachSize) {
    for (int size : kIconSizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        const GroupIconEntry* e = entryFor(size);
        ASSERT_NE(e, nullptr);
        const int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group_.data), TRUE, size, size,
                                                   LR_DEFAULTCOLOR);
        EXPECT_EQ(id, e->id);

        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(IDI_MAIN_ICON), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        ASSERT_NE(info.hbmColor, nullptr) << "loaded as a monochrome icon";
        ASSERT_NE(GetObjectW(info.hbmColor, sizeof colour, &colour), 0);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// ------------------------------------------------------------------ version

class VersionBlock : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t path[MAX_PATH];
        ASSERT_NE(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
        ASSERT_NE(size, 0u) << "no version block";
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block_.data()));
    }
    std::u16string string(const wchar_t* subBlock) {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block_.data(), subBlock, &value, &length) || value == nullptr) return u"<missing>";
        const char16_t* text = static_cast<const char16_t*>(value);
        std::u16string s(text, length);
        while (!s.empty() && s.back() == u'\0') s.pop_back();
        return s;
    }
    std::vector<std::uint8_t> block_;
};

TEST(VersionResource, IsJapanese) {
    EXPECT_NE(findJapanese(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO)).data, nullptr);
}

TEST_F(VersionBlock, FixedInfo) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010001u);  // .1.1
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "debug, pre-release or patched flag set";
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, static_cast<DWORD>(VFT2_UNKNOWN));
}

TEST_F(VersionBlock, TranslationIsJapaneseShiftJis) {
    WORD* pairs = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pairs),
                               &length));
    ASSERT_EQ(length, 2 * sizeof(WORD)) << "exactly one language and code page pair";
    EXPECT_EQ(pairs[0], 0x0411);
    EXPECT_EQ(pairs[1], 932);
}

struct VersionString {
    const wchar_t* name;
    const char16_t* value;
};

const VersionString kVersionStrings[] = {
    {L"CompanyName", u"Quillane"},
    {L"ProductName", u"Velmora"},
    {L"FileDescription", u"Velmora アップデート"},
    {L"FileVersion", u"1, 0, 1, 1"},
    {L"ProductVersion", u"1, 0, 1, 1"},
    {L"InternalName", u"Update"},
    {L"OriginalFilename", u"Update.exe"},
};

TEST_F(VersionBlock, StringsOfTheJapaneseTable) {
    for (const VersionString& v : kVersionStrings) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\041103a4\\") + v.name;
        std::string name;
        for (const wchar_t* p = v.name; *p; ++p) name += static_cast<char>(*p);
        SCOPED_TRACE(name);
        EXPECT_EQ(string(path.c_str()), v.value);
    }
}

// ------------------------------------------------------------------ manifest

std::string manifestText() {
    Bytes b = findJapanese(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    if (b.data == nullptr) return {};
    return std::string(reinterpret_cast<const char*>(b.data), b.size);
}

// The values of every Id="..." attribute of a supportedOS element.
std::set<std::string> supportedOsIds(const std::string& xml) {
    std::set<std::string> ids;
    const std::string tag = "<supportedOS";
    for (std::size_t at = xml.find(tag); at != std::string::npos; at = xml.find(tag, at + 1)) {
        const std::size_t end = xml.find('>', at);
        const std::size_t id = xml.find("Id=\"", at);
        if (end == std::string::npos || id == std::string::npos || id > end) {
            ids.insert("<malformed>");
            continue;
        }
        const std::size_t close = xml.find('"', id + 4);
        ids.insert(xml.substr(id + 4, close - id - 4));
    }
    return ids;
}

TEST(Manifest, IsTheOnlyManifestAndJapanese) {
    // A second manifest (one the toolchain links in by default, say) would
    // compete with this one.
    EXPECT_EQ(namesOf(RT_MANIFEST), std::set<std::string>{"#1"});
    EXPECT_FALSE(manifestText().empty()) << "no Japanese manifest 1";
}

TEST(Manifest, SupportsExactlyVistaAndSeven) {
    const std::set<std::string> expected = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Windows Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
    };
    EXPECT_EQ(supportedOsIds(manifestText()), expected);
}

TEST(Manifest, DeclaresNothingBesidesCompatibility) {
    const std::string xml = manifestText();
    ASSERT_FALSE(xml.empty());
    for (const char* absent : {"requestedExecutionLevel", "trustInfo", "requestedPrivileges", "dependency",
                               "Microsoft.Windows.Common-Controls", "dpiAware", "activeCodePage"}) {
        EXPECT_EQ(xml.find(absent), std::string::npos) << absent;
    }
    EXPECT_NE(xml.find("urn:schemas-microsoft-com:compatibility.v1"), std::string::npos);
}

// ------------------------------------------------------------------ languages

struct Carried {
    LPCSTR type;
    LPCSTR name;
};

TEST(ResourceLanguage, EveryResourceIsJapaneseOnly) {
    std::vector<Carried> carried = {
        {RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP_DIALOG)},
        {RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN_ICON)},
        {RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO)},
        {RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID},
    };
    for (const GroupIconEntry& e : groupEntries(findJapanese(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN_ICON))))
        carried.push_back({RT_ICON, MAKEINTRESOURCEA(e.id)});
    for (const Carried& c : carried) {
        SCOPED_TRACE("type " + describe(c.type) + " name " + describe(c.name));
        EXPECT_EQ(languagesOf(c.type, c.name), std::set<WORD>{kJapanese});
    }
}

TEST(ResourceLanguage, OnlyTheProgramsDialogAndIconGroup) {
    // The component selection dialog (109) is loaded at run time but not
    // carried; the module has no other dialog or icon group.
    EXPECT_EQ(namesOf(RT_DIALOG), std::set<std::string>{"#105"});
    EXPECT_EQ(namesOf(RT_GROUP_ICON), std::set<std::string>{"#104"});
}

}  // namespace
