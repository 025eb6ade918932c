// Every path the engine composes, from folder texts and list names of any bytes
// (lead bytes, trail bytes 0x5C) up to and past their limits: each one that
// reaches the simulated Windows is its whole composition within 259 bytes, or
// the operation leaves it alone.
//
// Input: a flags byte, then the texts installDir, sourceDir, installBase,
// productFolder, companyName, productName, the program's path and the
// Programs folder (each: a 16-bit length and its bytes, then a count byte and
// a fill byte appended that many times), then a count byte and as many names
// for the install list, and the same for the extra list.
// Flags: bit 0 installed, bit 1 a disc labelled Velmora in e:, bit 2 files to
// copy and delete, bit 3 the program's path, bit 4 the Programs folder.
#include <string>
#include <vector>

#include "path_oracle.h"
#include "paths_steps.h"

namespace {

std::string readText(fuzz::Input& input) {
    std::string text = input.sized();
    const std::size_t count = input.byte();
    return text + std::string(count, static_cast<char>(input.byte()));
}

std::vector<std::string> readNames(fuzz::Input& input, unsigned most) {
    std::vector<std::string> names(input.byte() % (most + 1));
    for (std::string& name : names) name = readText(input);
    return names;
}

fuzz::Case readCase(fuzz::Input& input) {
    fuzz::Case c;
    c.flags = input.byte();
    for (std::string* text : {&c.installDir, &c.sourceDir, &c.installBase, &c.productFolder,
                              &c.company, &c.product, &c.modulePath, &c.programs})
        *text = readText(input);
    c.installNames = readNames(input, 32);
    c.extraNames = readNames(input, 12);
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const fuzz::Case c = readCase(input);
    fuzz::runAllSteps(c);
    return 0;
}
