// copyFileList from any table: n names of any length, empty ones among them,
// with the k-th allocation failing when the input asks for it.
//
// Input: a flags byte (bit 0: the list replaces one made from the same table),
// a 16-bit k (0: no allocation fails), then the names, each ended by a NUL
// byte (the last one by the input's end).
#include <cstring>
#include <string>
#include <vector>

#include "engine/file_list.h"
#include "fuzz_input.h"
#include "platform/sim/sim.h"

namespace {

std::vector<std::string> splitNames(const std::string& text) {
    std::vector<std::string> names;
    if (text.empty()) return names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\0', start);
        names.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return names;
        start = end + 1;
    }
}

// Every buffer is zero-filled past its text, so the text ends within it.
void checkBuffer(const char* buffer, std::size_t index) {
    const void* end = std::memchr(buffer, '\0', fileNameCapacity);
    fuzz::check(end != nullptr, "name buffer without its NUL", std::to_string(index));
    for (std::size_t i = std::strlen(buffer); i < fileNameCapacity; ++i)
        fuzz::check(buffer[i] == '\0', "name buffer not zero past its text", std::to_string(index));
}

void checkCopied(FileList list, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        checkBuffer(list[i], i);
        const std::string& name = names[i];
        const bool holdable = !name.empty() && name.size() < fileNameCapacity;
        fuzz::check(std::string(list[i]) == (holdable ? name : std::string(refusedFileName)),
                    "name not copied as it is, nor refused", name);
        fuzz::check(fileListEntry(list, static_cast<int>(i)) == list[i], "entry not its buffer");
    }
    checkBuffer(list[names.size()], names.size());
    fuzz::check(list[names.size()][0] == '\0', "list not ended by an empty name");
    fuzz::check(fileListEntry(list, static_cast<int>(names.size()) + 1)[0] == '\0',
                "entry past the end not empty");
    // The array and n + 1 buffers, the old list's all given back.
    fuzz::check(sim::liveAllocations() == static_cast<int>(names.size()) + 2,
                "blocks other than the array and its n + 1 buffers");
}

// A fresh machine costs host folders; the lists need only the allocation
// record, which is back at zero after every run. The counts are started over
// long before they could overflow.
void startRun() {
    if (sim::globalCallCount() > 1000000) sim::reset();
    sim::clearFaults();
    sim::clearCalls();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const bool replaceOld = (input.byte() & 1) != 0;
    const int failAt = input.word();
    const std::vector<std::string> names = splitNames(input.rest());
    std::vector<const char*> table;
    for (const std::string& name : names) table.push_back(name.c_str());
    table.push_back(nullptr);

    startRun();
    FileList old = replaceOld ? copyFileList(nullptr, table.data()) : nullptr;
    if (failAt > 0) sim::fail(sim::Op::allocateZeroed, failAt, 1);
    FileList list = copyFileList(old, table.data());
    fuzz::check(list != nullptr, "no list");

    // One array and n + 1 buffers are asked for: a failure among them empties the list.
    const bool failed = failAt > 0 && static_cast<std::size_t>(failAt) <= names.size() + 2;
    if (failed) {
        checkBuffer(list[0], 0);
        fuzz::check(list[0][0] == '\0', "list after a failed allocation not empty");
        fuzz::check(fileListEntry(list, 0)[0] == '\0', "entry 0 of the empty list");
        fuzz::check(sim::liveAllocations() == 0, "blocks kept after a failed allocation");
    } else {
        checkCopied(list, names);
    }
    releaseFileList(list);
    fuzz::check(sim::liveAllocations() == 0, "blocks left after releaseFileList");
    return 0;
}
