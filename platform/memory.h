// Heap memory for the file lists.
#pragma once
#include <cstddef>

namespace platform {

void* allocateZeroed(std::size_t bytes);  // nullptr when no memory can be had
void releaseMemory(void* block);

}  // namespace platform
