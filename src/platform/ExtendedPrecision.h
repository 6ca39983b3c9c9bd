// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cfloat>
#include <limits>

// Every formula of the motion and of the spring figure is evaluated in the
// x87 80-bit extended format (64-bit significand, 15-bit exponent) and only
// rounded to double or single where it is stored. `long double` must be that
// format, or the pictures and values drift in their last bits.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must have the 64-bit significand of the x87 extended format");
static_assert(std::numeric_limits<long double>::max_exponent == 16384,
              "long double must have the 15-bit exponent of the x87 extended format");
static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<float>::is_iec559,
              "double and float must be IEEE 754 binary64 and binary32");
static_assert(FLT_EVAL_METHOD == 0,
              "float and double expressions must be evaluated in their own format (SSE), "
              "so that every rounding to double or single happens where the code stores it");
