#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/xml_node.h"
#include "xmldata/xml_data.h"
#include "xmldata/xml_extension_modified.h"

namespace {

using Strings = std::vector<std::string>;

constexpr const char* kDocument =
    R"(<?xml version="1.0" encoding="UTF-8"?>)"
    "<root>"
    R"(<list item="attribute">)"
    "<item>a</item>"
    "<item/>"
    "<other>x</other>"
    "<ITEM>b</ITEM>"
    "<item><sub>deep</sub></item>"
    "<Item><!--note--></Item>"
    "<wrapper><item>too deep</item></wrapper>"
    "<item>c</item>"
    "</list>"
    "<group><list><item>g1</item><item>g2</item></list></group>"
    "<others><x>1</x><y>2</y></others>"
    "<encoded><v>a%2Fb</v><v>caf%C3%A9</v><v>%E9t%E9</v><v>a+b</v></encoded>"
    "<accented><\xC3\xA9l>1</\xC3\xA9l><\xC3\x89l>2</\xC3\x89l></accented>"
    R"(<attrs a="1" b="" c="3"/>)"
    "<pair><e>first</e><e/><e>third</e></pair>"
    "<order><v>1</v><g><v>2</v></g><v>3</v><w1>one</w1><w2>two</w2></order>"
    "<mixed>t<!--c--><e>x</e><e/><?pi data?></mixed>"
    "</root>";

class ListGettersTest : public testing::Test {
 protected:
  XMLData data_ = XMLExtensionModified::LoadXMLStr(kDocument);
};

TEST_F(ListGettersTest, ArrayCollectsMatchingChildrenWithoutGaps) {
  struct Case {
    const char* name;
    const char* item_name;
    Strings expected;
  };
  const std::vector<Case> cases = {
      // The empty <item/> leaves no gap; <ITEM> and <Item> match case-blind;
      // an element or a comment as first child gives its own value.
      {"list", "item", {"a", "b", "", "note", "c"}},
      {"list", "ITEM", {"a", "b", "", "note", "c"}},
      {"group/list", "item", {"g1", "g2"}},
      {"others", "item", {}},
      {"missing", "item", {}},
      {"list", "ite", {}},  // whole names only
      {"list/@item", "item", {}},
      {"accented", "\xC3\xA9l", {"1"}},  // letters outside ASCII are compared as they stand
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetArray(c.name, c.item_name, false, false), c.expected) << c.name << " / " << c.item_name;
  }
}

TEST_F(ListGettersTest, ArrayWithAnEmptyNameWalksTheWrappedNode) {
  const XMLData list = data_.GetXMLData("group/list");
  EXPECT_EQ(list.GetArray("", "item", false, false), (Strings{"g1", "g2"}));
  EXPECT_EQ(data_.GetArray("", "list", false, false), (Strings{""}));  // <list>'s first child is an element
}

TEST_F(ListGettersTest, ArrayDecodesAsAsked) {
  const Strings raw = {"a%2Fb", "caf%C3%A9", "%E9t%E9", "a+b"};
  EXPECT_EQ(data_.GetArray("encoded", "v", false, false), raw);
  EXPECT_EQ(data_.GetArray("encoded", "v", false, true), raw);
  // Plain percent-decoding keeps the bytes, even when they are no UTF-8.
  EXPECT_EQ(data_.GetArray("encoded", "v", true, true), (Strings{"a/b", "caf\xC3\xA9", "\xE9t\xE9", "a+b"}));
  // The UTF-8 decoder reads such bytes as ISO-8859-1.
  EXPECT_EQ(data_.GetArray("encoded", "v", true, false), (Strings{"a/b", "caf\xC3\xA9", "\xC3\xA9t\xC3\xA9", "a+b"}));
}

TEST_F(ListGettersTest, RawStringsKeepEmptyAttributesAndSkipEmptyElements) {
  struct Case {
    const char* name;
    Strings expected;
  };
  const std::vector<Case> cases = {
      {"attrs/@*", {"1", "", "3"}},
      {"attrs/@b", {""}},
      {"pair/e", {"first", "third"}},
      {"mixed/node()", {"x"}},  // text, comment and processing instruction give nothing
      {"list/*", {"a", "x", "b", "", "note", "", "c"}},
      {"missing", {}},
      {"pair/e[2]", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(data_.GetRawStrings(c.name), c.expected) << c.name;
  }
}

TEST_F(ListGettersTest, RawStringsFollowDocumentOrder) {
  EXPECT_EQ(data_.GetRawStrings("order//v"), (Strings{"1", "2", "3"}));
  EXPECT_EQ(data_.GetRawStrings("order/w2 | order/w1"), (Strings{"one", "two"}));
  EXPECT_EQ(data_.GetRawStrings("attrs/@c | attrs/@a"), (Strings{"1", "3"}));
}

TEST_F(ListGettersTest, RawStringsGiveAnEmptyQueryNoMeaningOfItsOwn) {
  EXPECT_THROW(data_.GetRawStrings(""), platform::XmlQueryError);
}

TEST(ListGettersEmptyWrapperTest, BothGiveAnEmptyArray) {
  const XMLData empty;
  EXPECT_TRUE(empty.GetArray("", "item", true, false).empty());
  EXPECT_TRUE(empty.GetArray("list", "item", false, false).empty());
  EXPECT_TRUE(empty.GetRawStrings("item").empty());
  EXPECT_TRUE(empty.GetRawStrings("").empty());
}

}  // namespace
