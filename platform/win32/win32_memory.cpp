#include <cstdlib>

#include "platform/memory.h"

namespace platform {

void* allocateZeroed(std::size_t bytes) { return std::calloc(1, bytes); }
void releaseMemory(void* block) { std::free(block); }

}  // namespace platform
