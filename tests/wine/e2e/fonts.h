// Fonts for the programs under test, set up before they start.
//
// The dialogs ask for Japanese Windows fonts ("ＭＳ Ｐゴシック" and the like),
// which a Linux machine lacks: Wine's font replacements map them onto the IPA
// fonts, so that the texts are drawn as the program chose them. And the
// caption buttons of a message box are glyphs of Wine's Marlett, which this
// Wine does not load from its own data folder but does from the prefix's.
#pragma once

namespace e2e {

// Writes the replacements for the current user and puts Marlett into the
// prefix's font folder. Programs started afterwards see both. False if the
// registry refused; a Marlett that cannot be found is left out.
bool prepareFonts();

}  // namespace e2e
