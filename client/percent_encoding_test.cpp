#include <gtest/gtest.h>

#include <cmdrunner/client.h>

#include "platform/percent_decoding.h"

namespace {

TEST(PercentEncodeTest, KeepsOnlyUnreservedCharacters) {
  EXPECT_EQ(cmdrunner::PercentEncode("AZaz09-._~"), "AZaz09-._~");
  EXPECT_EQ(cmdrunner::PercentEncode("a b+c%d&e<f\"g'h\ni/j"),
            "a%20b%2Bc%25d%26e%3Cf%22g%27h%0Ai%2Fj");
  EXPECT_EQ(cmdrunner::PercentEncode("\xC3\xA9"), "%C3%A9");  // é, byte by byte
  EXPECT_EQ(cmdrunner::PercentEncode(std::string("\0\xFF", 2)), "%00%FF");
  EXPECT_EQ(cmdrunner::PercentEncode(""), "");
}

TEST(PercentDecodeTest, EveryByteComesBackAndCmdrunnerReadsTheSame) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string encoded = cmdrunner::PercentEncode(all);
  const auto decoded = cmdrunner::PercentDecode(encoded);
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_EQ(*decoded, all);
  EXPECT_EQ(platform::DecodePercent(encoded), all);
}

TEST(PercentDecodeTest, TakesLowerCaseDigitsAndLeavesPlusAlone) {
  const auto decoded = cmdrunner::PercentDecode("a%2fb+c%2Bd");
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, "a/b+c+d");
}

// cmdrunner reads a broken escape in a way of its own; these are refused so
// that whatever we decode, cmdrunner decodes the same.
TEST(PercentDecodeTest, RefusesBrokenEscapes) {
  for (const char* text : {"%", "%4", "a%", "%zz", "%4g", "%%41", "100%"}) {
    const auto decoded = cmdrunner::PercentDecode(text);
    EXPECT_FALSE(decoded) << text;
    EXPECT_NE(decoded.error().find("malformed percent escape"), std::string::npos) << decoded.error();
  }
}

}  // namespace
