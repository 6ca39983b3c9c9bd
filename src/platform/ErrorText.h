// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vibrona {

// An error's message as the error box shows it: a "." is appended when the
// last character's code is above that of "." (46). A text ending in ".", a
// blank, ")", "!" or "," is shown unchanged, and so is an empty one.
std::string withFinalPeriod(std::string message);

// The application's title, formed from the executable's file name as
// written: the name without its directory and without everything from its
// first "." on, the first character unchanged and the rest in lower case
// (ASCII letters only; other characters are kept as they are).
// "C:/bin/SAMPLE.V2.EXE" gives "Sample".
std::string applicationTitle(std::string_view executablePath);

} // namespace vibrona
