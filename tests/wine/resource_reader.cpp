#include "tests/wine/resource_reader.h"

#include <cstring>

namespace resource_reader {

namespace {

HMODULE orSelf(HMODULE module) { return module != nullptr ? module : GetModuleHandleW(nullptr); }

BOOL CALLBACK collectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR out) {
    reinterpret_cast<std::set<WORD>*>(out)->insert(language);
    return TRUE;
}

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
    reinterpret_cast<std::set<std::string>*>(out)->insert(describe(name));
    return TRUE;
}

}  // namespace

Bytes findJapanese(LPCSTR type, LPCSTR name, HMODULE module) {
    module = orSelf(module);
    HRSRC info = FindResourceExA(module, type, name, kJapanese);
    if (info == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, info);
    if (loaded == nullptr) return {};
    return {static_cast<const std::uint8_t*>(LockResource(loaded)),
            static_cast<std::size_t>(SizeofResource(module, info))};
}

std::string describe(LPCSTR id) {
    if (IS_INTRESOURCE(id)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id));
    return id;
}

std::set<WORD> languagesOf(LPCSTR type, LPCSTR name, HMODULE module) {
    std::set<WORD> found;
    EnumResourceLanguagesA(orSelf(module), type, name, collectLanguage, reinterpret_cast<LONG_PTR>(&found));
    return found;
}

std::set<std::string> namesOf(LPCSTR type, HMODULE module) {
    std::set<std::string> found;
    EnumResourceNamesA(orSelf(module), type, collectName, reinterpret_cast<LONG_PTR>(&found));
    return found;
}

// ------------------------------------------------------------------ reader

void Reader::skip(std::size_t n) {
    if (pos_ > b_.size || n > b_.size - pos_) {
        ok_ = false;
        pos_ = b_.size;
        return;
    }
    pos_ += n;
}

std::uint16_t Reader::u16() {
    std::uint16_t v = 0;
    read(&v, sizeof v);
    return v;
}

std::uint32_t Reader::u32() {
    std::uint32_t v = 0;
    read(&v, sizeof v);
    return v;
}

std::u16string Reader::sz() {
    std::u16string s;
    for (std::uint16_t c = u16(); ok_ && c != 0; c = u16()) s += static_cast<char16_t>(c);
    return s;
}

std::u16string Reader::nameOrOrdinal(std::uint16_t& ordinal) {
    ordinal = 0;
    std::uint16_t first = u16();
    if (first == 0xFFFF) {
        ordinal = u16();
        return {};
    }
    std::u16string s;
    for (std::uint16_t c = first; ok_ && c != 0; c = u16()) s += static_cast<char16_t>(c);
    return s;
}

void Reader::read(void* out, std::size_t n) {
    if (pos_ > b_.size || n > b_.size - pos_) {
        ok_ = false;
        pos_ = b_.size;
        return;
    }
    std::memcpy(out, b_.data + pos_, n);
    pos_ += n;
}

// ------------------------------------------------------------------ dialog

std::u16string lower(std::u16string s) {
    for (auto& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return s;
}

std::u16string predefinedClass(std::uint16_t atom) {
    switch (atom) {
        case 0x0080: return u"button";
        case 0x0081: return u"edit";
        case 0x0082: return u"static";
        case 0x0083: return u"listbox";
        case 0x0084: return u"scrollbar";
        case 0x0085: return u"combobox";
        default: {
            std::u16string s = u"#";
            for (char c : std::to_string(atom)) s += static_cast<char16_t>(c);
            return s;
        }
    }
}

Dialog parseDialog(Bytes bytes) {
    Dialog d;
    Reader r(bytes);
    const std::uint16_t version = r.u16();
    const std::uint16_t signature = r.u16();
    d.extended = version == 1 && signature == 0xFFFF;
    std::uint16_t count = 0;
    if (d.extended) {
        r.u32();  // help id
        d.exStyle = r.u32();
        d.style = r.u32();
    } else {
        d.style = static_cast<DWORD>(version) | (static_cast<DWORD>(signature) << 16);
        d.exStyle = r.u32();
    }
    count = r.u16();
    d.x = r.s16();
    d.y = r.s16();
    d.cx = r.s16();
    d.cy = r.s16();
    d.menuName = r.nameOrOrdinal(d.menuOrdinal);
    d.className = r.nameOrOrdinal(d.classOrdinal);
    d.caption = r.sz();
    if (d.style & (DS_SETFONT | DS_SHELLFONT)) {
        d.pointSize = r.u16();
        if (d.extended) {
            r.u16();  // weight
            r.u16();  // italic, charset
        }
        d.fontName = r.sz();
    }
    for (std::uint16_t i = 0; i < count && r.ok(); ++i) {
        Control c;
        r.align(4);
        if (d.extended) {
            r.u32();  // help id
            c.exStyle = r.u32();
            c.style = r.u32();
        } else {
            c.style = r.u32();
            c.exStyle = r.u32();
        }
        c.x = r.s16();
        c.y = r.s16();
        c.cx = r.s16();
        c.cy = r.s16();
        c.id = d.extended ? r.u32() : r.u16();
        std::uint16_t classAtom = 0;
        std::u16string className = r.nameOrOrdinal(classAtom);
        c.className = classAtom != 0 ? predefinedClass(classAtom) : lower(className);
        std::uint16_t textOrdinal = 0;
        c.text = r.nameOrOrdinal(textOrdinal);
        const std::uint16_t extra = r.u16();
        r.skip(extra);
        d.controls.push_back(c);
    }
    d.parsed = r.ok();
    return d;
}

// ------------------------------------------------------------------ icon

std::vector<GroupIconEntry> groupEntries(Bytes b) {
    std::vector<GroupIconEntry> out;
    Reader r(b);
    if (r.u16() != 0 || r.u16() != 1) return out;  // reserved, type 1 = icon
    const std::uint16_t count = r.u16();
    for (std::uint16_t i = 0; i < count; ++i) {
        if (b.size < 6 + (i + 1) * sizeof(GroupIconEntry)) return {};
        GroupIconEntry e;
        std::memcpy(&e, b.data + 6 + i * sizeof(GroupIconEntry), sizeof e);
        out.push_back(e);
    }
    return out;
}

}  // namespace resource_reader
