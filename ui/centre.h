// Centring a dialog on the work area of the screen.
#pragma once
#include <cstdint>

#include "platform/types.h"

// The top-left corner that centres `size` within [low, high): the sum halved by
// an arithmetic shift, so an odd negative sum goes one further down.
std::int32_t centredOrigin(std::int32_t low, std::int32_t high, std::int32_t size);
void centreOnWorkArea(platform::Window dialog);
