// What the driver and the icon probe hook (loaded into the program under
// test) agree on. An icon handle means something only in the process that
// loaded it, so the comparison with the system's standard icons has to run
// there: the driver sends the probe message to the icon control, and the hook,
// seeing it on the program's thread, leaves its finding as a window property.
#pragma once

namespace e2e {

constexpr const char* iconProbeMessageName = "VelmoraE2E.IconProbe";
constexpr const char* iconProbeProperty = "VelmoraE2E.IconKind";
constexpr const char* iconProbeHookName = "iconProbeHook";

// Stored as property values; 0 is "no property", so every kind is non-zero.
enum class BoxIcon : int {
    unknown = 0,      // the probe did not answer
    none = 1,         // the control shows no icon
    exclamation = 2,  // IDI_EXCLAMATION, the same icon as IDI_WARNING
    hand = 3,         // IDI_HAND (IDI_ERROR)
    question = 4,     // IDI_QUESTION
    asterisk = 5,     // IDI_ASTERISK (IDI_INFORMATION)
    other = 6,        // an icon, but none of the standard four
};

}  // namespace e2e
