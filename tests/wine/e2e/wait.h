// Waiting in the driver: every wait keeps the driver's own message queue
// served, so that a program that sends to all top-level windows (the decoy
// window of a test among them) is never blocked by the driver.
#pragma once

#include <windows.h>

#include <functional>

namespace e2e {

// Generous limits: 32-bit Wine runs under emulation on some machines.
constexpr DWORD windowTimeoutMs = 60000;
constexpr DWORD exitTimeoutMs = 60000;

// Serves the driver's queue for about `ms` milliseconds.
void pumpFor(DWORD ms);

// Polls `condition` until it holds or `timeoutMs` has passed; true if it held.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Waits for `object` while serving the queue; true if it was signalled.
bool waitForObject(HANDLE object, DWORD timeoutMs);

}  // namespace e2e
