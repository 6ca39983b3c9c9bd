// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace vibrona {

// Dispatches every event waiting for the UI thread, input and repaints
// included, and returns as soon as none is left; it never waits for one.
void pumpMessages();

// Suspends the thread for at least `ms` milliseconds; 0 (or less) only
// gives up the rest of the thread's time slice.
void sleepMilliseconds(std::int32_t ms);

} // namespace vibrona
