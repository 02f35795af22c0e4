#include "platform/html_decoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/html_entities.h"
#include "platform/utf8.h"

namespace platform {
namespace {

std::string Utf8(char32_t code_point) {
  std::string text;
  AppendUtf8(text, code_point);
  return text;
}

struct Case {
  const char* input;
  std::string expected;
};

void ExpectDecodes(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeHtml(c.input), c.expected) << "input: " << c.input;
  }
}

TEST(HtmlDecodingTest, ResolvesNamedAndNumericReferences) {
  ExpectDecodes({
      {"&lt;b&gt; &#65;&#x42;", "<b> AB"},
      {"&epsilon;", "\xCE\xB5"},
      {"&Alpha;&alpha;", "\xCE\x91\xCE\xB1"},
      {"&apos;&quot;&amp;", "'\"&"},
      {"&nbsp;&euro;", "\xC2\xA0\xE2\x82\xAC"},
      {"&#x41;&#xa9;&#xA9;", "A\xC2\xA9\xC2\xA9"},
      {"&#00065;", "A"},      // six characters: still a reference
      {"&#65abc;", "A"},      // the digits end at the "a", the rest of the body is skipped
      {"&#x41zz;", "A"},
      {"&#xFFFF;", "\xEF\xBF\xBF"},
      {"a;b&lt;c;d", "a;b<c;d"},
      {"", ""},
  });
}

TEST(HtmlDecodingTest, ReadsOnceFromLeftToRight) {
  ExpectDecodes({
      {"&amp;amp;", "&amp;"},
      {"&amp;lt;", "&lt;"},
      {"&#38;#65;", "&#65;"},
      {"&&lt;", "&<"},
      {"&lt;&gt", "<>"},  // the last reference runs to the end of the text
      {"x &amp", "x &"},
      {"&amp more", "&amp more"},  // no ";": the body is the rest of the text
  });
}

TEST(HtmlDecodingTest, CopiesWhatIsNoReference) {
  ExpectDecodes({
      {"a&b", "a&b"},
      {"&nosuch;", "&nosuch;"},
      {"&Amp;&AMP;&EPSILON;", "&Amp;&AMP;&EPSILON;"},  // letter case counts
      {"&", "&"},
      {"&;", "&;"},
      {"& lt;", "& lt;"},
      {"AT&T", "AT&T"},
      {"&#X41;", "&#X41;"},  // only a lower-case x means hexadecimal
      {"&#;", "&#;"},
      {"&#", "&#"},
      {"&#x;", "&#x;"},
      {"&#0;", "&#0;"},
      {"&#x0000;", "&#x0000;"},
      {"&#abc;", "&#abc;"},
      {"&#-65;", "&#-65;"},
      {"&#6-5;", "&#6-5;"},
      {"&#x-41;", "&#x-41;"},
      {"&#+65;", "&#+65;"},
      {"&#000065;", "&#000065;"},    // seven characters
      {"&#128512;", "&#128512;"},    // seven characters
      {"&#x1F600;", "&#x1F600;"},    // seven characters
      {"&#65 66;", "A"},             // the digits end at the space
  });
}

TEST(HtmlDecodingTest, CountsTheBodyInCharactersNotBytes) {
  ExpectDecodes({
      {"&#65\xC3\xA9\xC3\xA9\xC3\xA9;", "A"},                       // six characters, nine bytes
      {"&#65\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9;", "&#65\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9;"},  // seven
      {"\xC3\xA9&amp;\xE2\x82\xAC", "\xC3\xA9&\xE2\x82\xAC"},
  });
}

TEST(HtmlDecodingTest, GivesWellFormedUtf8ForEveryNumericReference) {
  // Decimal bodies reach 99999, beyond the 16-bit range; hexadecimal ones stop at FFFF.
  for (char32_t value = 1; value <= 99999; ++value) {
    const std::string expected = (value >= 0xD800 && value <= 0xDFFF) ? Utf8(0xFFFD) : Utf8(value);
    const std::string decimal = "&#" + std::to_string(value) + ";";
    ASSERT_EQ(DecodeHtml(decimal), expected) << decimal;
    if (value <= 0xFFFF) {
      char hexadecimal[16];
      std::snprintf(hexadecimal, sizeof hexadecimal, "&#x%X;", static_cast<unsigned>(value));
      ASSERT_EQ(DecodeHtml(hexadecimal), expected) << hexadecimal;
    }
  }
  EXPECT_EQ(DecodeHtml("&#65536;"), "\xF0\x90\x80\x80");
  EXPECT_EQ(DecodeHtml("&#55296;&#56832;"), Utf8(0xFFFD) + Utf8(0xFFFD));  // no pairing of surrogates
}

TEST(HtmlDecodingTest, ReplacesIllFormedInputWithReplacementCharacters) {
  const std::string r = Utf8(0xFFFD);
  ExpectDecodes({
      {"a\xFF" "b", "a" + r + "b"},
      {"\xE2\x82", r},               // a truncated sequence is one character
      {"\xE2\x82x", r + "x"},
      {"\xED\xA0\x80", r + r + r},   // an encoded surrogate
      {"\xC0\xAF", r + r},           // an overlong form
      {"&\xFF;", "&" + r + ";"},
      {"&#6\xFF;", "\x06"},  // the digits end at the ill-formed byte
  });
  EXPECT_TRUE(IsValidUtf8(DecodeHtml("\x80\xBF\xF4\x90\x80\x80&lt;\xF0\x9F\x98")));
}

// The 252 character entities of HTML 4.01 and "apos", listed by Python's
// html.entities at build time.
struct ReferenceEntity {
  const char* name;
  char32_t code_point;
};
constexpr ReferenceEntity kReference[] = {
#include "html_entities_reference.inc"
};

TEST(HtmlEntitiesTest, TableMatchesPythonsHtml401Entities) {
  std::map<std::string, char32_t> expected;
  for (const auto& entity : kReference) expected.emplace(entity.name, entity.code_point);
  std::map<std::string, char32_t> ours;
  for (const auto& entity : HtmlEntities()) ours.emplace(entity.name, entity.code_point);
  EXPECT_EQ(expected.size(), 253u);
  EXPECT_EQ(HtmlEntities().size(), 253u);
  EXPECT_EQ(ours, expected);
}

TEST(HtmlEntitiesTest, HoldsTheHtml401CodePoints) {
  // Names whose code points differ between HTML versions, and the extra "apos".
  const std::map<std::string, char32_t> spots = {
      {"apos", 0x27}, {"lang", 0x2329}, {"rang", 0x232A}, {"thetasym", 0x3D1}, {"epsilon", 0x3B5},
  };
  const auto entities = HtmlEntities();
  for (const auto& spot : spots) {
    const std::string& name = spot.first;
    const auto it = std::find_if(entities.begin(), entities.end(), [&](const HtmlEntity& e) { return e.name == name; });
    ASSERT_NE(it, entities.end()) << name;
    EXPECT_EQ(it->code_point, spot.second) << name;
  }
}

TEST(HtmlEntitiesTest, EveryNameDecodes) {
  for (const auto& entity : kReference) {
    const std::string name = entity.name;
    EXPECT_EQ(DecodeHtml("&" + name + ";"), Utf8(entity.code_point)) << name;
    EXPECT_EQ(DecodeHtml("<&" + name + ">"), "<&" + name + ">") << name;  // the body runs to the end
    EXPECT_EQ(DecodeHtml("&" + name), Utf8(entity.code_point)) << name;
    EXPECT_EQ(DecodeHtml("&" + name + "x;"), "&" + name + "x;") << name;
  }
}

}  // namespace
}  // namespace platform
