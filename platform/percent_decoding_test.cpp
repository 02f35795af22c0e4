#include "platform/percent_decoding.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodePercent, ByteRules) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"%2F", "/"},
      {"%2f", "/"},
      {"%41", "A"},
      {"%3Z", "0"},     // a non-digit is worth 0
      {"%ZZ", std::string(1, '\0')},
      {"%20", " "},
      {"a+b", "a+b"},   // "+" is no space
      {"%C3%A9", "\xC3\xA9"},
      {"%%41", std::string("\x04") + "1"},  // "%%4" is one escape, then "1"
      {"100%", "100%"},  // fewer than two bytes after "%": copied
      {"%4", "%4"},
      {"a%", "a%"},
      {"%00", std::string(1, '\0')},
      {"%FF%fe", "\xFF\xFE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(platform::DecodePercent(c.in), c.out);
  }
}

}  // namespace
