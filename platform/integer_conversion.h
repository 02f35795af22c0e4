#pragma once

#include <cstdint>

namespace platform {

// Double to integer conversions that are defined for every input: the
// fraction is truncated toward zero, values beyond the type's range give its
// nearest bound (so every negative value gives 0 for the unsigned type), and
// NaN gives 0.
int32_t DoubleToInt32(double value);
uint32_t DoubleToUInt32(double value);
int64_t DoubleToInt64(double value);

}  // namespace platform
