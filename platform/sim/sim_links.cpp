// Shell link objects (IShellLinkA with its IPersistFile), saved as small files.
#include <fstream>

#include "platform/constants.h"
#include "platform/shell.h"
#include "platform/sim/sim_paths.h"

using namespace sim::detail;
using sim::Op;

namespace {

constexpr platform::Status eNoInterface = static_cast<platform::Status>(0x80004002u);
constexpr platform::Status eAccessDenied = static_cast<platform::Status>(0x80070005u);
constexpr platform::Status ePathNotFound = static_cast<platform::Status>(0x80070003u);
constexpr platform::Status eSharingViolation = static_cast<platform::Status>(0x80070020u);
constexpr platform::Status regdbClassNotReg = static_cast<platform::Status>(0x80040154u);

// Drops the object once neither interface refers to it any more.
void dropIfUnused(State& s, std::uintptr_t link) {
    auto it = s.links.find(link);
    if (it == s.links.end() || it->second->refs > 0) return;
    for (const auto& p : s.persists)
        if (p.second->link == link) return;
    s.links.erase(it);
}

template <class Apply>
platform::Status setField(platform::ShellLink link, Op op, std::vector<std::string> texts,
                          std::vector<std::uint64_t> numbers, Apply apply) {
    Gate g(op, std::move(texts), std::move(numbers));
    if (g.failed()) return platform::eFail;
    LinkRec* rec = lookup(g.s.links, link);
    if (!rec || rec->refs == 0) return platform::eInvalidArg;
    apply(rec->fields);
    return platform::sOk;
}

std::string linkFileText(const sim::Link& l) {
    return "[sim shell link]\r\ntarget=" + l.target + "\r\nworkingDirectory=" + l.workingDirectory +
           "\r\nicon=" + l.iconPath + "," + std::to_string(l.iconIndex) + "\r\ndescription=" +
           l.description + "\r\nhotkey=" + std::to_string(l.hotkey) +
           "\r\nshowCommand=" + std::to_string(l.showCommand) + "\r\n";
}

}  // namespace

namespace platform {

Status createShellLink(ShellLink* link) {
    Gate g(Op::createShellLink);
    if (!link) return eInvalidArg;
    *link = nullptr;
    if (g.failed()) return regdbClassNotReg;
    auto rec = std::make_unique<LinkRec>();
    rec->fields = sim::Link{"", "", "", "", 0, 0, swShowNormal};
    std::uintptr_t h = newHandle();
    g.s.links[h] = std::move(rec);
    *link = toHandle<ShellLink>(h);
    return sOk;
}

Status shellLinkQueryPersistFile(ShellLink link, PersistFile* file) {
    Gate g(Op::shellLinkQueryPersistFile);
    if (!file) return eInvalidArg;
    *file = nullptr;
    if (g.failed()) return eNoInterface;
    LinkRec* rec = lookup(g.s.links, link);
    if (!rec || rec->refs == 0) return eInvalidArg;
    std::uintptr_t h = newHandle();
    g.s.persists[h] = std::make_unique<PersistRec>(PersistRec{fromHandle(link)});
    *file = toHandle<PersistFile>(h);
    return sOk;
}

Status shellLinkSetPath(ShellLink link, const char* path) {
    return setField(link, Op::shellLinkSetPath, {str(path)}, {},
                    [&](sim::Link& l) { l.target = str(path); });
}

Status shellLinkSetWorkingDirectory(ShellLink link, const char* directory) {
    return setField(link, Op::shellLinkSetWorkingDirectory, {str(directory)}, {},
                    [&](sim::Link& l) { l.workingDirectory = str(directory); });
}

Status shellLinkSetIconLocation(ShellLink link, const char* path, int index) {
    return setField(link, Op::shellLinkSetIconLocation, {str(path)}, {num(index)},
                    [&](sim::Link& l) {
                        l.iconPath = str(path);
                        l.iconIndex = index;
                    });
}

Status shellLinkSetHotkey(ShellLink link, std::uint16_t hotkey) {
    return setField(link, Op::shellLinkSetHotkey, {}, {hotkey},
                    [&](sim::Link& l) { l.hotkey = hotkey; });
}

Status shellLinkSetDescription(ShellLink link, const char* description) {
    return setField(link, Op::shellLinkSetDescription, {str(description)}, {},
                    [&](sim::Link& l) { l.description = str(description); });
}

Status shellLinkSetShowCmd(ShellLink link, int showCommand) {
    return setField(link, Op::shellLinkSetShowCmd, {}, {num(showCommand)},
                    [&](sim::Link& l) { l.showCommand = showCommand; });
}

void shellLinkRelease(ShellLink link) {
    Gate g(Op::shellLinkRelease);
    LinkRec* rec = lookup(g.s.links, link);
    if (!rec || rec->refs == 0) return;
    --rec->refs;
    dropIfUnused(g.s, fromHandle(link));
}

Status persistFileSave(PersistFile file, const char16_t* path, bool remember) {
    std::string ansi = path ? fromWide(path) : std::string();
    Gate g(Op::persistFileSave, {ansi}, {remember ? 1u : 0u});
    if (g.failed()) return eAccessDenied;
    State& s = g.s;
    PersistRec* p = lookup(s.persists, file);
    LinkRec* rec = p ? lookup(s.links, p->link) : nullptr;
    if (!rec || !path) return eInvalidArg;
    std::optional<Resolved> r = resolve(s, ansi.c_str());
    if (!r || r->path.parts.empty() || r->path.trailingSeparator) return ePathNotFound;
    if (!isHostDir(hostOfParent(s, r->path))) return ePathNotFound;
    bool exists = hostExists(r->host);
    if (!driveWritable(s, r->path.drive) || isHostDir(r->host)) return eAccessDenied;
    if (exists && (metaOf(s, r->host).attributes & fileAttributeReadonly)) return eAccessDenied;
    if (!shareAllows(s, r->host, genericWrite, fileShareNone)) return eSharingViolation;
    {
        std::ofstream out(r->host, std::ios::binary | std::ios::trunc);
        out << linkFileText(rec->fields);
        if (!out) return eAccessDenied;
    }
    if (exists)
        touchWrite(s, r->host);
    else
        setCreated(s, r->host, 0x20);
    s.savedLinks[r->host] = rec->fields;
    return sOk;
}

void persistFileRelease(PersistFile file) {
    Gate g(Op::persistFileRelease);
    PersistRec* p = lookup(g.s.persists, file);
    if (!p) return;
    std::uintptr_t link = p->link;
    g.s.persists.erase(fromHandle(file));
    dropIfUnused(g.s, link);
}

}  // namespace platform

namespace sim {

std::optional<Link> link(const std::string& linkPath) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::optional<WinPath> p = parsePath(s, linkPath);
    if (!p) return std::nullopt;
    std::string host = hostOf(s, *p);
    auto it = s.savedLinks.find(host);
    if (it == s.savedLinks.end() || !isHostFile(host)) return std::nullopt;
    return it->second;
}

}  // namespace sim
