// Colours of the setup dialog's static controls.
#pragma once
#include "platform/types.h"

constexpr platform::ColorRef installFolderBackground = 14215660;  // red 236, green 233, blue 216

// The reply to WM_CTLCOLORSTATIC for the control `control` drawn with `dc`.
platform::Result colourStatic(platform::Window dialog, platform::DeviceContext dc,
                              platform::Window control);
// Gives the two labels their bold font for drawing; at the dialog's start.
void setLabelFonts(platform::Window dialog);
// Deletes the bold label font; the dialog calls it as it goes.
void releaseLabelFont();
