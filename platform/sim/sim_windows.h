// Shared by the window parts of the sim.
#pragma once
#include <cstddef>
#include <string>

#include "platform/sim/sim_state.h"

namespace sim::detail {

// The procedure a window's messages go to: a dialog's procedure or its class's.
struct WindowProcedure {
    platform::DialogProc dialog = nullptr;
    platform::WindowProc window = nullptr;
    platform::Result call(platform::Window w, unsigned message, platform::WParam wParam,
                          platform::LParam lParam) const;
    bool exists() const { return dialog || window; }
};
WindowProcedure procedureOf(const WindowRec& rec);

// Sends WM_DESTROY, then marks the window and its controls destroyed. Lock not held.
void destroyUnlocked(platform::Window window);
// Copies at most capacity - 1 bytes and a NUL; returns the bytes copied.
std::size_t copyText(const std::string& text, char* out, std::size_t capacity);
// A live control of a live dialog, by ID. Lock held.
platform::Window controlLocked(State& s, platform::Window dialog, int id);
// A dialog window with its controls. Lock held.
platform::Window buildDialog(State& s, const std::vector<Control>& controls, platform::Rect rect);

}  // namespace sim::detail
