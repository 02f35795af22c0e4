#pragma once

#include <chrono>

namespace platform {

// A point in time counted in seconds, with fraction, from the Unix epoch
// (1970-01-01 00:00:00 UTC). Dates are handed around by std::shared_ptr, so a
// caller can tell whether it got back the very object it passed in.
class Date {
 public:
  // A new date stands at the epoch itself.
  Date() = default;

  double TotalSeconds() const { return total_seconds_; }
  void SetTotalSeconds(double seconds) { total_seconds_ = seconds; }

  // The same instant on the system clock. The clock's range is narrower than
  // a double's: times beyond it give the clock's first or last instant, and
  // NaN gives the epoch.
  std::chrono::system_clock::time_point ToTimePoint() const;

 private:
  double total_seconds_ = 0.0;
};

}  // namespace platform
