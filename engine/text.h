// Bounded texts: every composed path and message goes through these.
// Texts are code page 932 byte strings; backslash searches step over
// double-byte characters, whose second byte may be 0x5C.
#pragma once
#include <cstddef>

namespace text {

constexpr std::size_t pathCapacity = 260;  // a path of at most 259 bytes and its NUL

// Formats into buffer (capacity bytes). On overflow the buffer holds the empty
// text and the result is false: a cut-off path could name another file.
bool format(char* buffer, std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Copies source into buffer; false (and the empty text) when it does not fit.
bool copy(char* buffer, std::size_t capacity, const char* source);
// "%s\%s" and "%s\%s\%s" into a path buffer, refused when a folder is empty
// (the result would name a place relative to the current drive) or the path
// would not fit.
bool joinPath(char* buffer, std::size_t capacity, const char* folder, const char* name);
bool joinPath(char* buffer, std::size_t capacity, const char* folder, const char* middle,
              const char* name);

bool isLeadByte(unsigned char byte);
// The last backslash of text that is a real backslash, or nullptr.
const char* lastBackslash(const char* text);
char* lastBackslash(char* text);
// True when the last character of text (not a trail byte) is a backslash.
bool endsWithBackslash(const char* text);
// Index of the first real backslash at or after `from`, or -1.
long nextBackslash(const char* text, std::size_t from);
bool equal(const char* a, const char* b);  // byte for byte

}  // namespace text
