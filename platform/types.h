// Small types of the platform seam. The logic above this layer sees only these,
// never a Windows header.
#pragma once
#include <cstdint>

#if defined(_WIN32)
#define PLATFORM_CALLBACK __stdcall
#else
#define PLATFORM_CALLBACK
#endif

namespace platform {

// Opaque handles; each backend gives them its own meaning.
struct WindowObject;
struct InstanceObject;
struct RegKeyObject;
struct FileObject;
struct StreamObject;
struct FindObject;
struct ThreadObject;
struct DeviceContextObject;
struct GdiObject;
struct ShellLinkObject;
struct PersistFileObject;

using Window = WindowObject*;
using Instance = InstanceObject*;
using RegKey = RegKeyObject*;
using File = FileObject*;          // nullptr stands for an invalid handle
using Stream = StreamObject*;      // nullptr when the open failed
using FindHandle = FindObject*;    // nullptr when nothing matched
using Thread = ThreadObject*;
using DeviceContext = DeviceContextObject*;
using GdiHandle = GdiObject*;
using ShellLink = ShellLinkObject*;
using PersistFile = PersistFileObject*;

using Status = std::int32_t;  // LONG results and HRESULTs

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using Result = std::intptr_t;  // LRESULT, INT_PTR

using WindowProc = Result(PLATFORM_CALLBACK*)(Window, unsigned, WParam, LParam);
using DialogProc = Result(PLATFORM_CALLBACK*)(Window, unsigned, WParam, LParam);
using ThreadProc = unsigned long(PLATFORM_CALLBACK*)(void*);
using BrowseCallback = int(PLATFORM_CALLBACK*)(Window, unsigned, LParam, LParam);

// 64-bit file time, 100 ns since 1601, as FILETIME carries it.
struct FileTime {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    bool operator==(const FileTime& o) const { return low == o.low && high == o.high; }
    bool operator!=(const FileTime& o) const { return !(*this == o); }
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Message {
    Window window = nullptr;
    unsigned message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

using ColorRef = std::uint32_t;
constexpr ColorRef rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

}  // namespace platform
