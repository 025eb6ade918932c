// The running program, threads and time.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <mmsystem.h>

#include "platform/process.h"

namespace platform {

namespace {
HANDLE toHandle(Thread thread) { return reinterpret_cast<HANDLE>(thread); }
}  // namespace

std::uint32_t getModuleFileName(char* buffer, std::uint32_t size) {
    return GetModuleFileNameA(nullptr, buffer, size);
}

// Same ABI as LPTHREAD_START_ROUTINE: __stdcall, one pointer in, a 32-bit DWORD out.
static_assert(sizeof(unsigned long) == sizeof(DWORD), "ThreadProc returns a DWORD");

Thread createThread(ThreadProc proc, void* argument, std::uint32_t* threadId) {
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(proc),
                                 argument, 0, &id);
    if (threadId) *threadId = id;
    return reinterpret_cast<Thread>(thread);
}

bool waitForThread(Thread thread) {
    return WaitForSingleObject(toHandle(thread), INFINITE) == WAIT_OBJECT_0;
}

bool closeThread(Thread thread) { return CloseHandle(toHandle(thread)) != FALSE; }

void exitThread(std::uint32_t code) { ExitThread(code); }

void sleep(std::uint32_t milliseconds) { Sleep(milliseconds); }

std::uint32_t timeGetTime() { return ::timeGetTime(); }

}  // namespace platform
