// Heap blocks of the logic, counted so that a test can see every one given back.
#include <cstdlib>

#include "platform/memory.h"
#include "platform/sim/sim_state.h"

using namespace sim::detail;
using sim::Op;

namespace platform {

void* allocateZeroed(std::size_t bytes) {
    Gate g(Op::allocateZeroed, {}, {bytes});
    if (g.failed()) return nullptr;
    void* block = std::calloc(1, bytes ? bytes : 1);
    if (block) g.s.allocations.insert(block);
    return block;
}

void releaseMemory(void* block) {
    Gate g(Op::releaseMemory);
    if (!block) return;
    g.s.allocations.erase(block);  // blocks from before a reset are no longer counted
    std::free(block);
}

}  // namespace platform

namespace sim {

int liveAllocations() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<int>(s.allocations.size());
}

}  // namespace sim
