#include "platform/date.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>

namespace platform {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

TEST(DateTest, ANewDateStandsAtTheEpoch) {
  const Date date;
  EXPECT_EQ(date.TotalSeconds(), 0.0);
  EXPECT_EQ(date.ToTimePoint(), system_clock::time_point{});
  EXPECT_EQ(date.ToTimePoint(), sys_days{1970y / January / 1});
}

TEST(DateTest, CountsSecondsFromTheUnixEpochInUtc) {
  struct Case {
    double seconds;
    system_clock::time_point expected;
  };
  const Case cases[] = {
      {1e9, sys_days{2001y / September / 9} + 1h + 46min + 40s},
      {1.5, system_clock::time_point{} + 1500ms},
      {-86400.0, sys_days{1969y / December / 31}},
      {951782400.0, sys_days{2000y / February / 29}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    Date date;
    date.SetTotalSeconds(c.seconds);
    EXPECT_EQ(date.TotalSeconds(), c.seconds);
    EXPECT_EQ(date.ToTimePoint(), c.expected);
  }
}

TEST(DateTest, TimesBeyondTheClockSaturateAndNaNGivesTheEpoch) {
  struct Case {
    double seconds;
    system_clock::time_point expected;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {1e300, system_clock::time_point::max()},
      {inf, system_clock::time_point::max()},
      {-1e300, system_clock::time_point::min()},
      {-inf, system_clock::time_point::min()},
      {std::numeric_limits<double>::quiet_NaN(), system_clock::time_point{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    Date date;
    date.SetTotalSeconds(c.seconds);
    EXPECT_EQ(date.ToTimePoint(), c.expected);
  }
}

}  // namespace
}  // namespace platform
