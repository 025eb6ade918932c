#include "tests/wine/e2e/fonts.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace e2e {

namespace {

struct Replacement {
    const wchar_t* windowsFace;
    const wchar_t* ipaFace;
};

// Face names as Unicode: the registry keeps them so, whatever the code page.
const Replacement replacements[] = {
    {L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", L"IPAPGothic"},  // ＭＳ Ｐゴシック
    {L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF", L"IPAGothic"},         // ＭＳ ゴシック
    {L"MS UI Gothic", L"IPAPGothic"},
};

// Where Debian's fonts-wine keeps it, seen through Wine's drive z:.
constexpr const char* wineMarlett = "Z:\\usr\\share\\wine\\fonts\\marlett.ttf";

void installMarlett() {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return;
    const std::string target = std::string(windows) + "\\Fonts\\marlett.ttf";
    CopyFileA(wineMarlett, target.c_str(), TRUE);  // an installed one stays
}

bool mapJapaneseFonts() {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool ok = true;
    for (const Replacement& r : replacements) {
        const DWORD bytes = static_cast<DWORD>((std::wcslen(r.ipaFace) + 1) * sizeof(wchar_t));
        ok = RegSetValueExW(key, r.windowsFace, 0, REG_SZ, reinterpret_cast<const BYTE*>(r.ipaFace),
                            bytes) == ERROR_SUCCESS &&
             ok;
    }
    RegCloseKey(key);
    return ok;
}

}  // namespace

bool prepareFonts() {
    installMarlett();
    return mapJapaneseFonts();
}

}  // namespace e2e
