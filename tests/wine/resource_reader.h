// Reading a module's resources back in tests: finding a resource by type,
// name and language, listing names and languages, and parsing dialog
// templates and icon groups. Shared by the resource tests of the programs.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace resource_reader {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);  // 0x0411

struct Bytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// The resource in Japanese, or an empty Bytes if the module has none.
// Without a module, the test's own.
Bytes findJapanese(LPCSTR type, LPCSTR name, HMODULE module = nullptr);

// "#105" for an ordinal, the name itself for a string.
std::string describe(LPCSTR id);

std::set<WORD> languagesOf(LPCSTR type, LPCSTR name, HMODULE module = nullptr);
std::set<std::string> namesOf(LPCSTR type, HMODULE module = nullptr);

// Little-endian reader over a resource; reading past the end marks it bad
// and yields zeros, so a short resource fails the checks instead of crashing.
class Reader {
public:
    explicit Reader(Bytes b) : b_(b) {}
    bool ok() const { return ok_; }
    void align(std::size_t n) { pos_ = (pos_ + n - 1) / n * n; }
    void skip(std::size_t n);
    std::uint16_t u16();
    std::uint32_t u32();
    std::int16_t s16() { return static_cast<std::int16_t>(u16()); }
    std::u16string sz();
    // A dialog's sz_Or_Ord field: 0 (none), 0xFFFF + ordinal, or a string.
    std::u16string nameOrOrdinal(std::uint16_t& ordinal);

private:
    void read(void* out, std::size_t n);
    Bytes b_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// ------------------------------------------------------------------ dialog

struct Control {
    DWORD id = 0;
    std::u16string className;  // lower case; predefined ordinals mapped to their names
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct Dialog {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::uint16_t menuOrdinal = 0;
    std::u16string menuName;
    std::uint16_t classOrdinal = 0;
    std::u16string className;
    std::u16string caption;
    std::uint16_t pointSize = 0;
    std::u16string fontName;
    std::vector<Control> controls;
    bool parsed = false;
};

std::u16string lower(std::u16string s);
std::u16string predefinedClass(std::uint16_t atom);

// Reads a DLGTEMPLATE or a DLGTEMPLATEEX with its items.
Dialog parseDialog(Bytes bytes);

// ------------------------------------------------------------------ icon

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "GRPICONDIRENTRY layout");

// The entries of an icon group; none when the group is malformed.
std::vector<GroupIconEntry> groupEntries(Bytes b);

}  // namespace resource_reader
