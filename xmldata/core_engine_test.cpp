#include "xmldata/core_engine.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodingFromURLVRD, DecodesAndAlwaysGivesUtf8) {
  EXPECT_EQ(CoreEngine::DecodingFromURLVRD("a%2Fb"), "a/b");
  EXPECT_EQ(CoreEngine::DecodingFromURLVRD("a+b%20c"), "a+b c");
  EXPECT_EQ(CoreEngine::DecodingFromURLVRD("caf%C3%A9"), "caf\xC3\xA9");  // already UTF-8: unchanged
  EXPECT_EQ(CoreEngine::DecodingFromURLVRD("caf%E9"), "caf\xC3\xA9");     // ISO-8859-1: converted
  // The test is on the decoded bytes: an encoded text that is plain ASCII may decode to anything.
  EXPECT_EQ(CoreEngine::DecodingFromURLVRD("%C3"), "\xC3\x83");
  EXPECT_EQ(CoreEngine::DecodingFromURLVRD(""), "");
}

TEST(CBool, LooselyWrittenBooleans) {
  for (const char* no : {"", "false", "FALSE", "No", "OFF", "0", "0.0", "-0", "000", " 0 ", "0e5"}) {
    EXPECT_FALSE(CoreEngine::CBool(no)) << '"' << no << '"';
  }
  for (const char* yes : {"true", "yes", "on", "1", "-1", "2.5", " false", "false ", "nope", "0x0", "0 0", "nan"}) {
    EXPECT_TRUE(CoreEngine::CBool(yes)) << '"' << yes << '"';
  }
}

}  // namespace
