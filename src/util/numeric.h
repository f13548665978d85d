#ifndef QUILLMARK_UTIL_NUMERIC_H_
#define QUILLMARK_UTIL_NUMERIC_H_

#include <cfloat>
#include <climits>
#include <cmath>

// Conversions that C++ leaves undefined outside the target's range, made
// total. Inside the range each gives exactly what the plain conversion gives.

// Truncation toward zero; values beyond the int range give INT_MIN or
// INT_MAX, NaN gives 0.
inline int TruncToInt(double v) {
  if (!(v == v))
    return 0;
  if (v >= 2147483648.0)
    return INT_MAX;
  if (v <= -2147483649.0)
    return INT_MIN;
  return static_cast<int>(v);
}

// Rounding to the nearest float, as the hardware does; magnitudes past the
// float range become infinities instead of undefined behaviour.
inline float NarrowToFloat(double v) {
  // Past FLT_MAX plus half of its last unit, round-to-nearest overflows.
  const double kOverflow = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
  if (v >= kOverflow)
    return HUGE_VALF;
  if (v <= -kOverflow)
    return -HUGE_VALF;
  if (v > FLT_MAX)
    return FLT_MAX;
  if (v < -FLT_MAX)
    return -FLT_MAX;
  return static_cast<float>(v);
}

#endif  // QUILLMARK_UTIL_NUMERIC_H_
