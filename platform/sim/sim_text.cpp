#include "platform/sim/sim_text.h"

#include <iconv.h>

#include <cstddef>

namespace sim::detail {

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

namespace {

// Length in bytes of the character starting at text[i].
std::size_t charLength(const std::string& text, std::size_t i) {
    return (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

bool isSeparator(char c, bool slashAlso) { return c == '\\' || (slashAlso && c == '/'); }

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Splits a text into its characters (one or two bytes each).
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = charLength(text, i);
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

bool matchFrom(const std::vector<std::string>& p, std::size_t pi, const std::vector<std::string>& n,
               std::size_t ni) {
    while (pi < p.size()) {
        if (p[pi] == "*") {
            while (pi < p.size() && p[pi] == "*") ++pi;
            if (pi == p.size()) return true;
            for (std::size_t k = ni; k <= n.size(); ++k)
                if (matchFrom(p, pi, n, k)) return true;
            return false;
        }
        if (ni == n.size()) return false;
        if (p[pi] != "?" && foldCase(p[pi]) != foldCase(n[ni])) return false;
        ++pi;
        ++ni;
    }
    return ni == n.size();
}

// One converter for the length of one conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Converts a whole short input; false when it does not convert completely.
    bool run(const char* in, std::size_t inBytes, char* out, std::size_t outCapacity,
             std::size_t* outBytes) {
        if (!ok()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        std::size_t inLeft = inBytes, outLeft = outCapacity;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        *outBytes = outCapacity - outLeft;
        return inLeft == 0;
    }

private:
    iconv_t cd_;
};

constexpr char16_t byteCarrier = 0xF700;

}  // namespace

std::vector<std::string> splitPath(const std::string& text, bool slashAlso) {
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = charLength(text, i);
        if (n == 1 && isSeparator(text[i], slashAlso)) {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.append(text, i, n);
        }
        i += n;
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

bool endsWithSeparator(const std::string& text, bool slashAlso) {
    bool last = false;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = charLength(text, i);
        last = n == 1 && isSeparator(text[i], slashAlso);
        i += n;
    }
    return last;
}

std::string foldCase(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size();) {
        std::size_t n = charLength(out, i);
        if (n == 1) out[i] = lowerAscii(out[i]);
        i += n;
    }
    return out;
}

bool sameName(const std::string& a, const std::string& b) { return foldCase(a) == foldCase(b); }

bool hasWildcard(const std::string& text) {
    for (const std::string& c : characters(text))
        if (c == "*" || c == "?") return true;
    return false;
}

bool wildcardMatch(const std::string& pattern, const std::string& name) {
    std::vector<std::string> p = characters(pattern);
    // "*.*" matches names without a dot as well, as on Windows.
    if (pattern == "*.*") return true;
    return matchFrom(p, 0, characters(name), 0);
}

std::u16string toWide(const std::string& text) {
    Converter decode("UTF-16LE", "CP932");
    Converter encode("CP932", "UTF-16LE");
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t n = charLength(text, i);
        if (c < 0x80) {
            out.push_back(c);
            i += 1;
            continue;
        }
        char wide[8];
        char back[8];
        std::size_t wideBytes = 0, backBytes = 0;
        bool single = decode.run(text.data() + i, n, wide, sizeof wide, &wideBytes) &&
                      wideBytes == 2 && encode.run(wide, 2, back, sizeof back, &backBytes) &&
                      backBytes == n && text.compare(i, n, back, n) == 0;
        if (single) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(wide[0]) |
                                                (static_cast<unsigned char>(wide[1]) << 8)));
        } else {
            for (std::size_t k = 0; k < n; ++k)
                out.push_back(static_cast<char16_t>(byteCarrier + static_cast<unsigned char>(text[i + k])));
        }
        i += n;
    }
    return out;
}

std::string fromWide(const std::u16string& text) {
    Converter encode("CP932", "UTF-16LE");
    std::string out;
    for (char16_t u : text) {
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u >= byteCarrier && u <= byteCarrier + 0xFF) {
            out.push_back(static_cast<char>(u - byteCarrier));
        } else {
            char wide[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
            char bytes[8];
            std::size_t n = 0;
            if (encode.run(wide, 2, bytes, sizeof bytes, &n))
                out.append(bytes, n);
            else
                out.push_back('?');  // as WideCharToMultiByte's default character
        }
    }
    return out;
}

}  // namespace sim::detail
