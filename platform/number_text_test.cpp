#include "platform/number_text.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TEST(NumberText, ValReadsTheLongestLeadingNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},          {"abc", 0},       {"42", 42},        {"  -7.5xyz", -7.5}, {"+3", 3},
      {".5", 0.5},      {"5.", 5},        {"1e3", 1000},     {"1e", 1},           {"2E-2", 0.02},
      {"0x1A", 0},      {"inf", 0},       {"nan", 0},        {"-", 0},            {".", 0},
      {"12 34", 12},    {"\t\n9", 9},     {"-0", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(platform::Val(c.text), c.value);
  }
  EXPECT_TRUE(std::isinf(platform::Val("1e999")));
}

TEST(NumberText, IsNumericWantsTheWholeText) {
  for (const char* yes : {"0", "-0", "000", "0.0", " 12 ", "1e5", "+.5"}) EXPECT_TRUE(platform::IsNumeric(yes)) << yes;
  for (const char* no : {"", " ", "12a", "0x0", "nan", "1 2", "e5", "."}) EXPECT_FALSE(platform::IsNumeric(no)) << no;
}

}  // namespace
