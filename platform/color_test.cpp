#include "platform/color.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ColorTest, ComponentsComeFromTheLowThreeBytes) {
  struct Case {
    uint32_t value;
    int red, green, blue;
  };
  const Case cases[] = {
      {0xFF0000, 255, 0, 0},  {0x00FF00, 0, 255, 0},        {0x0000FF, 0, 0, 255},
      {0, 0, 0, 0},           {0x123456, 0x12, 0x34, 0x56}, {0xFFFFFFFF, 255, 255, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const Color color(c.value);
    EXPECT_EQ(color.Red(), c.red);
    EXPECT_EQ(color.Green(), c.green);
    EXPECT_EQ(color.Blue(), c.blue);
  }
}

TEST(ColorTest, KeepsTheTopByteBitForBit) {
  const Color color(0xAB123456);
  EXPECT_EQ(color.Value(), 0xAB123456u);
  EXPECT_EQ(color.Red(), 0x12);
  EXPECT_NE(color, Color(0x00123456));
  EXPECT_EQ(color, Color(0xAB123456));
  EXPECT_EQ(Color().Value(), 0u);
}

}  // namespace
}  // namespace platform
