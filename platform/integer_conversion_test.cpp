#include "platform/integer_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr uint32_t kUInt32Max = std::numeric_limits<uint32_t>::max();

struct Case {
  double value;
  int32_t as_int32;
  uint32_t as_uint32;
};

TEST(IntegerConversionTest, TruncatesTowardZeroAndSaturatesAtTheBounds) {
  const Case cases[] = {
      {0.0, 0, 0},
      {-0.0, 0, 0},
      {5e-324, 0, 0},  // smallest denormal
      {1.9, 1, 1},
      {-1.9, -1, 0},
      {-0.5, 0, 0},
      {2147483647.0, kInt32Max, 2147483647u},
      {2147483647.9, kInt32Max, 2147483647u},
      {2147483648.0, kInt32Max, 2147483648u},
      {-2147483648.0, kInt32Min, 0},
      {-2147483648.9, kInt32Min, 0},
      {-2147483649.0, kInt32Min, 0},
      {4294967295.0, kInt32Max, kUInt32Max},
      {4294967295.9, kInt32Max, kUInt32Max},
      {4294967296.0, kInt32Max, kUInt32Max},
      {1e300, kInt32Max, kUInt32Max},
      {-1e300, kInt32Min, 0},
      {kInf, kInt32Max, kUInt32Max},
      {-kInf, kInt32Min, 0},
      {kNaN, 0, 0},
      {-kNaN, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.value);
    EXPECT_EQ(DoubleToInt32(c.value), c.as_int32);
    EXPECT_EQ(DoubleToUInt32(c.value), c.as_uint32);
  }
}

TEST(IntegerConversionTest, Int64KeepsTheLargestDoublesBelowItsBounds) {
  const double below_2_to_63 = std::nextafter(9223372036854775808.0, 0.0);
  EXPECT_EQ(DoubleToInt64(below_2_to_63), int64_t{9223372036854774784});
  EXPECT_EQ(DoubleToInt64(9223372036854775808.0), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(DoubleToInt64(-9223372036854775808.0), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(DoubleToInt64(-1e19), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(DoubleToInt64(-2.7), -2);
  EXPECT_EQ(DoubleToInt64(kNaN), 0);
}

}  // namespace
}  // namespace platform
