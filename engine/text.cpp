#include "engine/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace text {

bool format(char* buffer, std::size_t capacity, const char* fmt, ...) {
    if (buffer == nullptr || capacity == 0) return false;
    va_list args;
    va_start(args, fmt);
    const int written = std::vsnprintf(buffer, capacity, fmt, args);
    va_end(args);
    if (written < 0 || static_cast<std::size_t>(written) >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool copy(char* buffer, std::size_t capacity, const char* source) {
    if (buffer == nullptr || capacity == 0) return false;
    const std::size_t length = std::strlen(source);
    if (length >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, source, length + 1);
    return true;
}

bool joinPath(char* buffer, std::size_t capacity, const char* folder, const char* name) {
    if (folder[0] == '\0') {
        if (capacity > 0) buffer[0] = '\0';
        return false;
    }
    return format(buffer, capacity, "%s\\%s", folder, name);
}

bool joinPath(char* buffer, std::size_t capacity, const char* folder, const char* middle,
              const char* name) {
    if (folder[0] == '\0') {
        if (capacity > 0) buffer[0] = '\0';
        return false;
    }
    return format(buffer, capacity, "%s\\%s\\%s", folder, middle, name);
}

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

const char* lastBackslash(const char* textIn) {
    const char* found = nullptr;
    for (const char* p = textIn; *p != '\0'; ++p) {
        if (isLeadByte(static_cast<unsigned char>(*p))) {
            if (p[1] == '\0') break;  // a lone lead byte at the end
            ++p;
            continue;
        }
        if (*p == '\\') found = p;
    }
    return found;
}

char* lastBackslash(char* textIn) {
    return const_cast<char*>(lastBackslash(static_cast<const char*>(textIn)));
}

bool endsWithBackslash(const char* textIn) {
    const char* last = nullptr;
    for (const char* p = textIn; *p != '\0'; ++p) {
        last = p;
        if (isLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') ++p;
    }
    return last != nullptr && *last == '\\';
}

long nextBackslash(const char* textIn, std::size_t from) {
    // Walk from the start so that `from` is known to sit on a character boundary.
    for (std::size_t i = 0; textIn[i] != '\0'; ++i) {
        if (isLeadByte(static_cast<unsigned char>(textIn[i]))) {
            if (textIn[i + 1] == '\0') break;
            ++i;
            continue;
        }
        if (i >= from && textIn[i] == '\\') return static_cast<long>(i);
    }
    return -1;
}

bool equal(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace text
