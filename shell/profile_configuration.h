// The engine configured from the product profile, as the program starts.
#pragma once

struct SetupEngine;

// Puts the executable's name into install-list entry 0, then configures the
// engine with the profile's lists, names and size and no dialog window.
void configureFromProfile(SetupEngine& engine);
