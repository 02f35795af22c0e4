#include "platform/text.h"

#include <random>
#include <string>

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

// What ReplaceLineEndings must give, one byte at a time.
std::string ReplacedByHand(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
      continue;
    }
    out += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

// Texts long enough for the block-wise path, dense with every kind of line
// ending: runs of CR and LF, CRLF pairs, and CRLF split over two blocks.
std::string RandomText(std::mt19937& random, size_t size) {
  static constexpr char kBytes[] = {'\r', '\n', '\r', '\n', 'a', 'b', ' ', '\0', '\xff'};
  std::string text(size, ' ');
  const bool sparse = random() % 2 == 0;
  for (char& c : text) c = sparse && random() % 8 ? 'x' : kBytes[random() % sizeof kBytes];
  return text;
}

TEST(Text, ReplaceLineEndingsOnLongTexts) {
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    const std::string text = RandomText(random, random() % 300);
    ASSERT_EQ(platform::ReplaceLineEndings(text), ReplacedByHand(text)) << testing::PrintToString(text);
  }
}

TEST(Text, LineEndingReplacerGivesTheWholeTextsResultWhateverTheChunks) {
  // Every way of cutting a short text in two, then random cuts of long ones:
  // a CR that ends one chunk and an LF that starts the next are one ending.
  const std::string text = "a\r\n\r\r\n\nb\r";
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    std::string work = text;
    platform::LineEndingReplacer replacer;
    const size_t first = replacer.Replace(work.data(), cut);
    const size_t second = replacer.Replace(work.data() + cut, work.size() - cut);
    EXPECT_EQ(work.substr(0, first) + work.substr(cut, second), ReplacedByHand(text)) << "cut at " << cut;
  }
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const std::string longer = RandomText(random, random() % 2000);
    std::string work = longer, joined;
    platform::LineEndingReplacer replacer;
    for (size_t at = 0; at < work.size();) {
      const size_t chunk = std::min<size_t>(work.size() - at, random() % 70);
      joined.append(work, at, replacer.Replace(work.data() + at, chunk));
      at += chunk;
    }
    ASSERT_EQ(joined, ReplacedByHand(longer)) << testing::PrintToString(longer);
  }
}

}  // namespace
