#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "platform/color.h"
#include "platform/date.h"
#include "xmldata/xml_data.h"
#include "xmldata/xml_extension_modified.h"

namespace {

using platform::Color;
using platform::Date;

// Blank-free where a first child matters: white space between elements
// would be a text node of its own.
constexpr const char* kDocument =
    R"(<?xml version="1.0" encoding="UTF-8"?>)"
    R"(<root id="r7" empty_attr="" n="16711680">)"
    "<count>42</count>"
    "<spaced>  12.5 apples  </spaced>"
    "<empty/>"
    "<empty_pair></empty_pair>"
    "<nested><inner>x</inner></nested>"
    "<cdata><![CDATA[<raw>]]></cdata>"
    "<comment_first><!--note-->text</comment_first>"
    "<split>before<!--c-->after</split>"
    "<escaped>a&amp;b</escaped>"
    "<dup/><dup>later</dup>"
    "<neg>-3.9</neg>"
    "<word>abc</word>"
    "<big>1e10</big>"
    "<small>-1e10</small>"
    "<huge>1e999</huge>"
    "<int_max>2147483647</int_max>"
    "<red>16711680</red><green>65280</green><blue>255</blue>"
    "<packed>305419896</packed>"  // 0x12345678
    "<all_bits>4294967295</all_bits>"
    "<fraction>255.9</fraction>"
    "<seconds>1000000000</seconds>"
    "<html><![CDATA[&lt;b&gt; &#65;&#x42;]]></html>"
    "<epsilon><![CDATA[&epsilon;]]></epsilon>"
    "<upper_x><![CDATA[&#X41;]]></upper_x>"
    "<twice><![CDATA[&amp;amp;]]></twice>"
    R"(<q a="1 &amp; 2" b='say "hi"'>x&lt;y</q>)"
    R"(<p:item xmlns:p="urn:example" p:flag="on" plain="yes"/>)"
    "</root>";

class ScalarGettersTest : public testing::Test {
 protected:
  XMLData data_ = XMLExtensionModified::LoadXMLStr(kDocument);
};

TEST_F(ScalarGettersTest, RawStringKeepsFoundTextAsItStands) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"missing", "dflt"},
      {"empty", "dflt"},
      {"empty_pair", "dflt"},
      {"dup", "dflt"},  // the first selected node counts even when a later one has text
      {"count", "42"},
      {"spaced", "  12.5 apples  "},
      {"@empty_attr", ""},
      {"@id", "r7"},
      {"nested", ""},
      {"cdata", "<raw>"},
      {"comment_first", "note"},
      {"split", "before"},
      {"escaped", "a&b"},
      {"dup[2]", "later"},
      {"nested/inner", "x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetRawString(c.name, "dflt"), c.expected) << c.name;
  }
}

TEST_F(ScalarGettersTest, IntegerReadsTheLeadingNumberTruncatedAndSaturated) {
  struct Case {
    const char* name;
    int32_t expected;
  };
  const Case cases[] = {
      {"missing", -7},
      {"empty", -7},
      {"dup", -7},
      {"@empty_attr", 0},  // found empty text is converted, not defaulted
      {"nested", 0},
      {"word", 0},
      {"count", 42},
      {"spaced", 12},
      {"neg", -3},
      {"fraction", 255},
      {"int_max", 2147483647},
      {"big", std::numeric_limits<int32_t>::max()},
      {"small", std::numeric_limits<int32_t>::min()},
      {"huge", std::numeric_limits<int32_t>::max()},
      {"all_bits", std::numeric_limits<int32_t>::max()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetInteger(c.name, -7), c.expected) << c.name;
  }
}

TEST_F(ScalarGettersTest, DoubleReadsTheLeadingNumber) {
  struct Case {
    const char* name;
    double expected;
  };
  const Case cases[] = {
      {"missing", 2.5},
      {"empty", 2.5},
      {"@empty_attr", 0.0},
      {"word", 0.0},
      {"spaced", 12.5},
      {"neg", -3.9},
      {"big", 1e10},
      {"huge", std::numeric_limits<double>::infinity()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetDouble(c.name, 2.5), c.expected) << c.name;
  }
}

TEST_F(ScalarGettersTest, ColorKeepsThePackedValueBitForBit) {
  const Color fallback(0x010203);
  struct Case {
    const char* name;
    uint32_t expected;
  };
  const Case cases[] = {
      {"missing", 0x010203},
      {"empty", 0x010203},
      {"@empty_attr", 0},
      {"word", 0},
      {"neg", 0},
      {"red", 0xFF0000},
      {"green", 0x00FF00},
      {"blue", 0x0000FF},
      {"@n", 0xFF0000},
      {"packed", 0x12345678},
      {"all_bits", 0xFFFFFFFF},
      {"big", 0xFFFFFFFF},
      {"fraction", 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetColor(c.name, fallback).Value(), c.expected) << c.name;
  }
  const Color red = data_.GetColor("red", fallback);
  EXPECT_EQ(red.Red(), 255);
  EXPECT_EQ(red.Green(), 0);
  EXPECT_EQ(red.Blue(), 0);
  const Color packed = data_.GetColor("packed", fallback);
  EXPECT_EQ(packed.Red(), 0x34);
  EXPECT_EQ(packed.Green(), 0x56);
  EXPECT_EQ(packed.Blue(), 0x78);
}

TEST_F(ScalarGettersTest, DateGivesBackTheVeryDefaultWhenNothingIsFound) {
  const auto fallback = std::make_shared<Date>();
  fallback->SetTotalSeconds(123.0);
  for (const char* name : {"missing", "empty", "dup"}) {
    EXPECT_EQ(data_.GetDate(name, fallback), fallback) << name;
    EXPECT_EQ(data_.GetDate(name, nullptr), nullptr) << name;
  }
  EXPECT_EQ(fallback->TotalSeconds(), 123.0);
}

TEST_F(ScalarGettersTest, DateFoundIsANewObjectEveryCall) {
  using namespace std::chrono;
  using namespace std::chrono_literals;
  const auto fallback = std::make_shared<Date>();
  const auto first = data_.GetDate("seconds", fallback);
  const auto second = data_.GetDate("seconds", fallback);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, fallback);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->TotalSeconds(), 1e9);
  EXPECT_EQ(first->ToTimePoint(), sys_days{2001y / September / 9} + 1h + 46min + 40s);
  EXPECT_EQ(fallback->TotalSeconds(), 0.0);

  for (const char* name : {"@empty_attr", "word"}) {
    const auto date = data_.GetDate(name, nullptr);
    ASSERT_NE(date, nullptr) << name;
    EXPECT_EQ(date->TotalSeconds(), 0.0) << name;
  }
  EXPECT_EQ(data_.GetDate("neg", nullptr)->TotalSeconds(), -3.9);
}

TEST_F(ScalarGettersTest, HtmlDecodedStringResolvesReferencesOfFoundTextOnly) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"missing", "&amp;"},  // the default is never decoded
      {"empty", "&amp;"},
      {"@empty_attr", ""},
      {"html", "<b> AB"},
      {"epsilon", "\xCE\xB5"},
      {"upper_x", "&#X41;"},
      {"twice", "&amp;"},
      {"escaped", "a&b"},  // the parser already resolved the XML entity
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetHTMLDecodedString(c.name, "&amp;"), c.expected) << c.name;
  }
}

TEST_F(ScalarGettersTest, AttributeReadsTheWrappedNodeOnlyAndTreatsEmptyAsMissing) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"id", "r7"},
      {"empty_attr", "dflt"},
      {"missing", "dflt"},
      {"@id", "dflt"},  // an attribute name, not a query
      {"", "dflt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetAttribute(c.name, "dflt"), c.expected) << c.name;
  }
  EXPECT_EQ(data_.GetXMLData("q").GetAttribute("a", "dflt"), "1 & 2");
  EXPECT_EQ(data_.GetXMLData("q").GetAttribute("id", "dflt"), "dflt");
  EXPECT_EQ(data_.GetXMLData("*[local-name()='item']").GetAttribute("plain", "dflt"), "yes");
}

TEST_F(ScalarGettersTest, ElementNameIsTheWrappedNodesName) {
  EXPECT_EQ(data_.GetElementName(), "root");
  EXPECT_EQ(data_.GetXMLData("count").GetElementName(), "count");
  EXPECT_EQ(data_.GetXMLData("@id").GetElementName(), "id");
  EXPECT_EQ(data_.GetXMLData("*[local-name()='item']").GetElementName(), "p:item");
}

TEST_F(ScalarGettersTest, ToStringSerialisesTheNodeWithItsSubtree) {
  EXPECT_EQ(data_.GetXMLData("nested").ToString(), "<nested><inner>x</inner></nested>");
  EXPECT_EQ(data_.GetXMLData("empty").ToString(), "<empty/>");
  EXPECT_EQ(data_.GetXMLData("cdata").ToString(), "<cdata><![CDATA[<raw>]]></cdata>");
  EXPECT_EQ(data_.GetXMLData("q").ToString(), R"(<q a="1 &amp; 2" b="say &quot;hi&quot;">x&lt;y</q>)");
  const std::string whole = data_.ToString();
  EXPECT_EQ(whole.rfind("<root id=\"r7\" empty_attr=\"\" n=\"16711680\"><count>42</count>", 0), 0u) << whole;
  EXPECT_EQ(whole.find("<?xml"), std::string::npos);
  EXPECT_TRUE(whole.ends_with("</root>")) << whole;
}

TEST(ScalarGettersEmptyWrapperTest, EveryGetterFindsNothing) {
  const XMLData empty;
  const auto fallback = std::make_shared<Date>();
  EXPECT_EQ(empty.GetRawString("count", "dflt"), "dflt");
  EXPECT_EQ(empty.GetInteger("count", -7), -7);
  EXPECT_EQ(empty.GetDouble("count", 2.5), 2.5);
  EXPECT_EQ(empty.GetColor("count", Color(0x010203)), Color(0x010203));
  EXPECT_EQ(empty.GetDate("count", fallback), fallback);
  EXPECT_EQ(empty.GetHTMLDecodedString("count", "&amp;"), "&amp;");
  EXPECT_EQ(empty.GetAttribute("id", "dflt"), "dflt");
  EXPECT_EQ(empty.GetElementName(), "");
  EXPECT_EQ(empty.ToString(), "");
}

}  // namespace
