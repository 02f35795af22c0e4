#include "platform/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, WellFormedness) {
  const struct {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"plain", true},
      {"caf\xC3\xA9", true},
      {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},       // U+10FFFF
      {std::string(1, '\0'), true},
      {"caf\xE9", false},              // ISO-8859-1
      {"\xC0\xAF", false},             // overlong
      {"\xE0\x80\xAF", false},         // overlong
      {"\xED\xA0\x80", false},         // surrogate
      {"\xF4\x90\x80\x80", false},     // above U+10FFFF
      {"\xC3", false},                 // cut short
      {"\x80", false},
      {"\xFF", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(platform::IsValidUtf8(c.bytes), c.valid);
  }
}

TEST(Utf8, Latin1Conversion) {
  EXPECT_EQ(platform::Latin1ToUtf8("caf\xE9 \xFF!"), "caf\xC3\xA9 \xC3\xBF!");
  EXPECT_EQ(platform::Latin1ToUtf8(""), "");
}

}  // namespace
