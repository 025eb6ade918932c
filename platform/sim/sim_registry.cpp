// HKEY_LOCAL_MACHINE: a tree of keys with case-insensitive names, values of raw bytes.
#include <cstring>

#include "platform/constants.h"
#include "platform/registry.h"
#include "platform/sim/sim_state.h"

using namespace sim::detail;
using sim::Op;

namespace {

constexpr platform::Status errorInvalidHandle = 6;
constexpr platform::Status errorInvalidParameter = 87;
constexpr platform::Status errorBadPathname = 161;
constexpr platform::Status errorNoAccess = 998;
constexpr platform::Status errorKeyDeleted = 1018;

bool badPath(const char* path) { return path && path[0] == '\\'; }

// The key at path, or null; create makes the missing keys on the way.
std::shared_ptr<RegNode> walk(State& s, const std::string& path, bool create) {
    std::shared_ptr<RegNode> node = s.hklm;
    for (const std::string& part : splitPath(path, false)) {
        auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) {
            if (!create) return nullptr;
            auto child = std::make_shared<RegNode>();
            child->name = part;
            it = node->subkeys.emplace(part, child).first;
        }
        node = it->second;
    }
    return node;
}

platform::RegKey openHandle(State& s, std::shared_ptr<RegNode> node) {
    std::uintptr_t h = newHandle();
    s.keys[h] = std::make_unique<std::shared_ptr<RegNode>>(std::move(node));
    return toHandle<platform::RegKey>(h);
}

void markDeleted(RegNode& node) {
    node.deleted = true;
    for (auto& child : node.subkeys) markDeleted(*child.second);
}

}  // namespace

namespace platform {

Status regCreateKey(const char* path, std::uint32_t options, std::uint32_t access, RegKey* key) {
    Gate g(Op::regCreateKey, {str(path)}, {options, access});
    if (g.failed()) return errorAccessDenied;
    if (!key) return errorInvalidParameter;
    if (badPath(path)) return errorBadPathname;
    *key = openHandle(g.s, walk(g.s, str(path), true));
    return errorSuccess;
}

Status regOpenKey(const char* path, std::uint32_t access, RegKey* key) {
    Gate g(Op::regOpenKey, {str(path)}, {access});
    if (g.failed()) return errorAccessDenied;
    if (!key) return errorInvalidParameter;
    if (badPath(path)) return errorBadPathname;
    std::shared_ptr<RegNode> node = walk(g.s, str(path), false);
    if (!node) return errorFileNotFound;
    *key = openHandle(g.s, std::move(node));
    return errorSuccess;
}

Status regSetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                   std::uint32_t byteCount) {
    std::string bytes = data ? std::string(static_cast<const char*>(data), byteCount) : "";
    Gate g(Op::regSetValue, {str(name), bytes}, {type, byteCount});
    if (g.failed()) return errorAccessDenied;
    auto* node = lookup(g.s.keys, key);
    if (!node) return errorInvalidHandle;
    if ((*node)->deleted) return errorKeyDeleted;
    if (!data && byteCount > 0) return errorNoAccess;
    (*node)->values[str(name)] = sim::Value{type, bytes};
    return errorSuccess;
}

Status regQueryValue(RegKey key, const char* name, std::uint32_t* type, void* buffer,
                     std::uint32_t* size) {
    Gate g(Op::regQueryValue, {str(name)}, {type ? *type : 0u, size ? *size : 0u});
    if (g.failed()) return errorAccessDenied;
    auto* node = lookup(g.s.keys, key);
    if (!node) return errorInvalidHandle;
    if ((*node)->deleted) return errorKeyDeleted;
    if (buffer && !size) return errorInvalidParameter;
    auto it = (*node)->values.find(str(name));
    if (it == (*node)->values.end()) return errorFileNotFound;
    const sim::Value& v = it->second;
    auto needed = static_cast<std::uint32_t>(v.data.size());
    if (type) *type = v.type;
    if (!buffer) {
        if (size) *size = needed;
        return errorSuccess;
    }
    if (*size < needed) {
        *size = needed;
        return errorMoreData;
    }
    if (needed) std::memcpy(buffer, v.data.data(), needed);
    *size = needed;
    return errorSuccess;
}

Status regDeleteKey(const char* path) {
    Gate g(Op::regDeleteKey, {str(path)});
    if (g.failed()) return errorAccessDenied;
    if (badPath(path)) return errorBadPathname;
    std::vector<std::string> parts = splitPath(str(path), false);
    if (parts.empty()) return errorAccessDenied;  // HKEY_LOCAL_MACHINE itself
    std::string last = parts.back();
    parts.pop_back();
    std::shared_ptr<RegNode> parent = g.s.hklm;
    for (const std::string& part : parts) {
        auto it = parent->subkeys.find(part);
        if (it == parent->subkeys.end()) return errorFileNotFound;
        parent = it->second;
    }
    auto it = parent->subkeys.find(last);
    if (it == parent->subkeys.end()) return errorFileNotFound;
    if (!it->second->subkeys.empty()) return errorAccessDenied;
    markDeleted(*it->second);
    parent->subkeys.erase(it);
    return errorSuccess;
}

Status regCloseKey(RegKey key) {
    Gate g(Op::regCloseKey);
    bool open = g.s.keys.erase(fromHandle(key)) > 0;
    if (g.failed()) return errorAccessDenied;  // the handle is gone all the same
    return open ? errorSuccess : errorInvalidHandle;
}

}  // namespace platform

namespace sim {

void setValue(const std::string& keyPath, const std::string& name, std::uint32_t type,
              const std::string& data) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    walk(s, keyPath, true)->values[name] = Value{type, data};
}

void setStringValue(const std::string& keyPath, const std::string& name, const std::string& text) {
    setValue(keyPath, name, platform::regSz, text + std::string(1, '\0'));
}

void setDwordValue(const std::string& keyPath, const std::string& name, std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    setValue(keyPath, name, platform::regDword, bytes);
}

std::optional<Value> value(const std::string& keyPath, const std::string& name) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::shared_ptr<RegNode> node = walk(s, keyPath, false);
    if (!node) return std::nullopt;
    auto it = node->values.find(name);
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

bool keyExists(const std::string& keyPath) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return walk(s, keyPath, false) != nullptr;
}

void createKey(const std::string& keyPath) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    walk(s, keyPath, true);
}

int openKeyCount() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<int>(s.keys.size());
}

}  // namespace sim
