#include "platform/date.h"

#include <cstdint>
#include <limits>

#include "platform/integer_conversion.h"

namespace platform {

std::chrono::system_clock::time_point Date::ToTimePoint() const {
  using Clock = std::chrono::system_clock;
  static_assert(std::numeric_limits<Clock::rep>::is_signed && std::numeric_limits<Clock::rep>::digits == 63,
                "the clock's ticks must be a signed 64-bit count");
  // duration_cast from a double duration is undefined when the result does
  // not fit, so the ticks are counted in double and then saturated.
  const double ticks = total_seconds_ * static_cast<double>(Clock::period::den) / static_cast<double>(Clock::period::num);
  return Clock::time_point(Clock::duration(static_cast<Clock::rep>(DoubleToInt64(ticks))));
}

}  // namespace platform
