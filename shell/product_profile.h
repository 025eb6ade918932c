// Everything particular to the product, compiled in. The engine, the dialogs
// and the messages take the product's particulars from here.
#pragma once
#include <cstdint>

struct ProductProfile {
    const char* windowClassName;
    const char* productTitle;
    const char* studioName;
    const char* productFolderName;
    const char* executableName;
    const char* productKeyPath;
    const char** extraList;       // name tables, each ended by a null pointer
    const char** installList;
    const char** mediaLabelList;
    std::uint32_t installMegabytes;
    std::uint32_t type2Megabytes;
    std::uint32_t type1Megabytes;
};

// The one profile. Constant but for installList entry 0, set to the executable's
// name at start-up, and installMegabytes, rewritten by the component choice.
extern ProductProfile productProfile;

constexpr int installListLength = 29;
constexpr int extraListLength = 10;
