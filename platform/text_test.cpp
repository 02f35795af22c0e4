#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, TrimAndJoin) {
  EXPECT_EQ(platform::Trim(" \t\r\n x y \v\f"), "x y");
  EXPECT_EQ(platform::Trim("   "), "");
  EXPECT_EQ(platform::Join({}, " "), "");
  EXPECT_EQ(platform::Join({"a", "", "b c"}, " "), "a  b c");
}

TEST(Text, CaseBlindEquality) {
  EXPECT_TRUE(platform::EqualsIgnoringCase("CoMmAnD", "command"));
  EXPECT_FALSE(platform::EqualsIgnoringCase("command ", "command"));
  EXPECT_FALSE(platform::EqualsIgnoringCase("commands", "command"));
}

TEST(Text, ReplaceLineEndings) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"a\r\nb", "a\nb"},
      {"a\rb", "a\nb"},
      {"a\nb", "a\nb"},
      {"\r\r\n\n\r", "\n\n\n\n"},
      {"end\r", "end\n"},
      {"\n\r", "\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.in));
    EXPECT_EQ(platform::ReplaceLineEndings(c.in), c.out);
  }
}

}  // namespace
