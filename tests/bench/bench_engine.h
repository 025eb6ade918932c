// The engine set up for a background copy, as the install sets it up before
// its copy: the lists, both folders, every entry selected, the whole range.
#pragma once

#include <string>

#include "engine/setup_engine.h"

namespace bench {

// installTable: null-ended names copied from `source` into `target`.
void prepareCopy(SetupEngine& engine, const char* const* installTable, const std::string& source,
                 const std::string& target);

}  // namespace bench
