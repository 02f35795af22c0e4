#include "xmldata/xml_data.h"

#include <gtest/gtest.h>

#include "xmldata/xml_extension_modified.h"

namespace {

// The raw text that the core lookup gives, read back through the one public
// getter that hands it over undecoded for texts without "%".
std::string Raw(const XMLData& data, const char* query) { return data.GetURLDecodedString(query, "<default>", true); }

class XMLDataTest : public testing::Test {
 protected:
  const XMLData data_ = XMLExtensionModified::LoadXMLStr(
      "<r empty=\"\" attr=\"v\">"
      "<text>  spaced  </text>"
      "<none></none>"
      "<nested><inner>deep</inner></nested>"
      "<comment><!--c-->after</comment>"
      "<cdata><![CDATA[<raw>]]></cdata>"
      "<mixed>one<!--x-->two</mixed>"
      "<twice></twice><twice>second</twice>"
      "<encoded>a%2Fb</encoded><plus>a+b</plus><latin>caf%E9</latin>"
      "<flag>FALSE</flag><flag2> false</flag2><num>0.0</num>"
      "</r>");
};

TEST_F(XMLDataTest, CoreLookupRules) {
  const struct {
    const char* query;
    const char* raw;
  } cases[] = {
      {"text", "  spaced  "},      // untrimmed
      {"@attr", "v"},
      {"@empty", ""},              // an empty attribute is found
      {"none", "<default>"},       // an element without content is not
      {"missing", "<default>"},
      {"nested", ""},              // first child is an element: found, empty
      {"comment", "c"},            // first child is a comment: its text
      {"cdata", "<raw>"},
      {"mixed", "one"},            // only the first child node counts
      {"twice", "<default>"},      // only the first selected node counts
      {"text/text()", "<default>"},// a text node is neither attribute nor element
      {"nested/inner", "deep"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    EXPECT_EQ(Raw(data_, c.query), c.raw);
  }
}

TEST_F(XMLDataTest, URLDecodedStrings) {
  EXPECT_EQ(data_.GetURLDecodedString("encoded", "d", false), "a/b");
  EXPECT_EQ(data_.GetURLDecodedString("encoded", "d", true), "a/b");
  EXPECT_EQ(data_.GetURLDecodedString("plus", "d", false), "a+b");
  EXPECT_EQ(data_.GetURLDecodedString("latin", "d", false), "caf\xC3\xA9");
  EXPECT_EQ(data_.GetURLDecodedString("latin", "d", true), "caf\xE9");
  EXPECT_EQ(data_.GetURLDecodedString("none", "%41", false), "%41");  // the default is never decoded
  EXPECT_EQ(data_.GetURLDecodedString("@empty", "d", false), "");
}

TEST_F(XMLDataTest, Booleans) {
  EXPECT_FALSE(data_.GetBoolean("flag", true));
  EXPECT_TRUE(data_.GetBoolean("flag2", false));
  EXPECT_FALSE(data_.GetBoolean("num", true));
  EXPECT_FALSE(data_.GetBoolean("@empty", true));  // found and empty: CBool, not the default
  EXPECT_TRUE(data_.GetBoolean("none", true));
  EXPECT_FALSE(data_.GetBoolean("missing", false));
}

TEST_F(XMLDataTest, NodesWrappersAndPresence) {
  const auto self = data_.GetNode("");
  ASSERT_TRUE(self);
  EXPECT_EQ(self->Name(), "r");
  EXPECT_EQ(data_.GetNode("@attr")->Value(), "v");  // any kind of node comes back
  EXPECT_FALSE(data_.GetNode("missing"));

  const XMLData same = data_.GetXMLData("");
  EXPECT_TRUE(same.Exists());
  EXPECT_TRUE(same.GetNode("")->IsSameNode(*self));
  EXPECT_FALSE(data_.GetXMLData("missing").Exists());
  EXPECT_EQ(Raw(data_.GetXMLData("nested"), "inner"), "deep");

  EXPECT_TRUE(data_.HasValue("none"));  // present without content
  EXPECT_FALSE(data_.HasValue("missing"));
  EXPECT_THROW(data_.HasValue(""), platform::XmlQueryError);  // an empty query is no query
}

TEST(XMLDataEmpty, FindsNothing) {
  const XMLData empty;
  EXPECT_FALSE(empty.Exists());
  EXPECT_EQ(empty.GetURLDecodedString("a", "d", false), "d");
  EXPECT_TRUE(empty.GetBoolean("a", true));
  EXPECT_FALSE(empty.GetNode(""));
  EXPECT_FALSE(empty.HasValue("a"));
  EXPECT_FALSE(empty.GetXMLData("").Exists());
}

}  // namespace
