// Reading the installation record from whatever the registry holds: values of
// any type and size, with or without their NUL, missing ones, failing calls.
//
// Input: a fault byte (1: the open fails, 2: the query of the next byte % 3 + 1
// fails, 3: the close fails), what installDir, sourceDir and installType hold
// before the read (a fill byte and a 16-bit NUL position for each text, then 4
// bytes), then "Dir", "CD" and "InstType" in turn: a flags byte (bit 0:
// stored), the type byte and the data with its 16-bit length.
#include <cstring>
#include <optional>
#include <string>

#include "engine/setup_engine.h"
#include "fuzz_input.h"
#include "platform/sim/sim.h"
#include "shell/product_profile.h"
#include "shell/profile_configuration.h"

namespace {

const char* const valueNames[] = {"Dir", "CD", "InstType"};

struct Record {
    int fault = 0, failingQuery = 0;
    unsigned char dirFill = 0, cdFill = 0;
    std::uint16_t dirEnd = 0, cdEnd = 0;
    std::int32_t installType = 0;
    std::optional<sim::Value> values[3];
};

Record readRecord(fuzz::Input& input) {
    Record r;
    r.fault = input.byte() % 4;
    r.failingQuery = input.byte() % 3 + 1;
    r.dirFill = input.byte();
    r.dirEnd = input.word();
    r.cdFill = input.byte();
    r.cdEnd = input.word();
    const std::string type = input.bytes(4) + std::string(4, '\0');
    std::memcpy(&r.installType, type.data(), sizeof r.installType);
    for (auto& value : r.values) {
        const bool stored = (input.byte() & 1) != 0;
        const std::uint32_t valueType = input.byte();
        std::string data = input.sized();
        if (stored) value = sim::Value{valueType, data};
    }
    return r;
}

void storeAndArm(const Record& r) {
    for (int i = 0; i < 3; ++i)
        if (r.values[i])
            sim::setValue(productProfile.productKeyPath, valueNames[i], r.values[i]->type,
                          r.values[i]->data);
    if (r.fault == 1) sim::fail(sim::Op::regOpenKey);
    if (r.fault == 2) sim::fail(sim::Op::regQueryValue, r.failingQuery);
    if (r.fault == 3) sim::fail(sim::Op::regCloseKey);
}

// A text field holding `end` bytes of `fill`, and `fill` again after its NUL:
// what an earlier, longer text leaves behind.
void fillField(char* field, unsigned char fill, std::uint16_t end) {
    std::memset(field, fill, text::pathCapacity);
    field[end % text::pathCapacity] = '\0';
}

// The field a successful read gives: the data in a zeroed buffer of the field's size.
bool readsInto(const std::optional<sim::Value>& value, char* expected) {
    if (!value || value->data.size() > text::pathCapacity) return false;
    std::memset(expected, 0, text::pathCapacity);
    std::memcpy(expected, value->data.data(), value->data.size());
    return std::memchr(expected, '\0', text::pathCapacity) != nullptr;
}

void checkNoKeyOpen(const SetupEngine& engine) {
    fuzz::check(engine.registryKey == nullptr, "registryKey left open");
    fuzz::check(sim::openKeyCount() == 0, "a key left open in the registry");
}

void checkTerminated(const SetupEngine& engine) {
    fuzz::check(std::memchr(engine.installDir, '\0', text::pathCapacity) != nullptr,
                "installDir without its NUL");
    fuzz::check(std::memchr(engine.sourceDir, '\0', text::pathCapacity) != nullptr,
                "sourceDir without its NUL");
}

// readInstallRecord itself: each step that succeeds has filled its field, the
// first that fails ends the read and leaves the later fields as they were.
bool checkRead(const Record& r) {
    SetupEngine engine;
    fillField(engine.installDir, r.dirFill, r.dirEnd);
    fillField(engine.sourceDir, r.cdFill, r.cdEnd);
    engine.installType = r.installType;
    char dir[text::pathCapacity], cd[text::pathCapacity];
    std::memcpy(dir, engine.installDir, sizeof dir);
    std::memcpy(cd, engine.sourceDir, sizeof cd);
    std::int32_t type = r.installType;

    storeAndArm(r);
    const bool read = engine.readInstallRecord();

    bool ok = r.fault != 1;
    char expected[text::pathCapacity];
    if (ok && !(r.fault == 2 && r.failingQuery == 1) && readsInto(r.values[0], expected))
        std::memcpy(dir, expected, sizeof dir);
    else
        ok = false;
    if (ok && !(r.fault == 2 && r.failingQuery == 2) && readsInto(r.values[1], expected))
        std::memcpy(cd, expected, sizeof cd);
    else
        ok = false;
    const auto& stored = r.values[2];
    if (ok && !(r.fault == 2 && r.failingQuery == 3) && stored && stored->data.size() <= 4)
        std::memcpy(&type, stored->data.data(), stored->data.size());
    else
        ok = false;

    fuzz::check(read == ok, read ? "read succeeded with a value missing or unfit"
                                 : "read failed with every value fit");
    fuzz::check(std::memcmp(engine.installDir, dir, sizeof dir) == 0,
                "installDir not the stored text, nor left as it was",
                std::string(engine.installDir, sizeof dir));
    fuzz::check(std::memcmp(engine.sourceDir, cd, sizeof cd) == 0,
                "sourceDir not the stored text, nor left as it was",
                std::string(engine.sourceDir, sizeof cd));
    fuzz::check(engine.installType == type, "installType not the stored bytes, nor kept");
    checkTerminated(engine);
    checkNoKeyOpen(engine);
    return ok;
}

// configure as the entry does: installed is 1 exactly when the whole record was read.
void checkConfigure(const Record& r, bool wholeRecord) {
    sim::clearFaults();
    storeAndArm(r);
    SetupEngine engine;
    const char* saved = productProfile.installList[0];
    configureFromProfile(engine);
    productProfile.installList[0] = saved;
    fuzz::check(engine.installed == (wholeRecord ? 1 : 0), "installed does not match the record",
                std::to_string(engine.installed));
    checkTerminated(engine);
    checkNoKeyOpen(engine);
    engine.teardown();
    fuzz::check(sim::liveAllocations() == 0, "lists not freed by teardown");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const Record record = readRecord(input);
    sim::reset();
    const bool whole = checkRead(record);
    checkConfigure(record, whole);
    return 0;
}
