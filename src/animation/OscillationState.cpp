// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/OscillationState.h"

namespace vibrona {

OscillationState oscillation;

} // namespace vibrona
