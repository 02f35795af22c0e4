#include "platform/integer_conversion.h"

#include <cmath>
#include <limits>

namespace platform {

namespace {

// A plain static_cast is undefined when the truncated value does not fit, so
// the bounds are tested first. 2^digits is exactly representable as a double
// and is one above the type's maximum, which itself may not be.
template <typename Integer>
Integer SaturatingTruncate(double value) {
  using Limits = std::numeric_limits<Integer>;
  if (std::isnan(value)) return 0;
  const double above_max = std::ldexp(1.0, Limits::digits);
  const double min = Limits::is_signed ? -above_max : 0.0;
  if (value >= above_max) return Limits::max();
  if (value <= min) return Limits::min();
  return static_cast<Integer>(value);
}

}  // namespace

int32_t DoubleToInt32(double value) { return SaturatingTruncate<int32_t>(value); }

uint32_t DoubleToUInt32(double value) { return SaturatingTruncate<uint32_t>(value); }

int64_t DoubleToInt64(double value) { return SaturatingTruncate<int64_t>(value); }

}  // namespace platform
