// The dialogs ask for Japanese Windows fonts ("ＭＳ Ｐゴシック" and the
// like), which a Linux machine lacks. Mapping them onto the IPA fonts lets
// Wine draw the texts as the program chose them.
#pragma once

namespace e2e {

// Writes Wine's font replacements for the current user; programs started
// afterwards use them. False if the registry refused.
bool mapJapaneseFontsToIpa();

}  // namespace e2e
