// The running program, threads and time.
#pragma once
#include <cstdint>

#include "platform/types.h"

namespace platform {

// GetModuleFileNameA(own module, buffer, size): bytes written, 0 on failure.
std::uint32_t getModuleFileName(char* buffer, std::uint32_t size);

// CreateThread(no security, default stack, proc, argument, run at once, id).
Thread createThread(ThreadProc proc, void* argument, std::uint32_t* threadId);
// WaitForSingleObject(thread, INFINITE) == WAIT_OBJECT_0.
bool waitForThread(Thread thread);
bool closeThread(Thread thread);
[[noreturn]] void exitThread(std::uint32_t code);

void sleep(std::uint32_t milliseconds);
std::uint32_t timeGetTime();  // milliseconds, wraps at 2^32

}  // namespace platform
