#include "engine/setup_engine.h"

// Built by static construction before the entry runs; its destructor is the
// teardown at the end of the process.
SetupEngine setupEngine;
