// Text helpers of the sim: code page 932 character stepping, Windows-style
// case-insensitive names, wildcards and the ANSI <-> UTF-16 conversion.
#pragma once
#include <string>
#include <vector>

namespace sim::detail {

// A lead byte of a double-byte character; the byte after it is never a separator.
bool isLeadByte(unsigned char c);

// Splits at '\' (and '/' when slashAlso), stepping over double-byte characters.
// Empty pieces between consecutive separators are dropped.
std::vector<std::string> splitPath(const std::string& text, bool slashAlso);
// True when the last character (not a trail byte) is '\' or, with slashAlso, '/'.
bool endsWithSeparator(const std::string& text, bool slashAlso);

// ASCII letters folded to lower case; double-byte characters left whole.
std::string foldCase(const std::string& text);
bool sameName(const std::string& a, const std::string& b);
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return foldCase(a) < foldCase(b);
    }
};

// '*' and '?' of FindFirstFileA, case-insensitive; '?' matches one character.
bool wildcardMatch(const std::string& pattern, const std::string& name);
bool hasWildcard(const std::string& text);

// CP932 <-> UTF-16. Characters that do not survive the round trip through the real
// code page are carried byte by byte as U+F700 + byte, so every byte text comes back.
std::u16string toWide(const std::string& text);
std::string fromWide(const std::u16string& text);

// A text from a possibly null pointer.
inline std::string str(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace sim::detail
