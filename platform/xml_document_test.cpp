#include "platform/xml_document.h"

#include <gtest/gtest.h>

namespace {

using platform::XmlDocument;
using platform::XmlException;
using platform::XmlNode;

TEST(XmlDocument, RefusesWhatIsNotOnePlainWellFormedDocument) {
  const std::string refused[] = {
      "",
      "no xml",
      "<a><b></a>",
      "<a/><b/>",
      std::string("<a/>\0<b/>", 9),
      "<!DOCTYPE a><a/>",
      "<!DOCTYPE a [<!ENTITY x \"y\">]><a>&x;</a>",
      "<!DOCTYPE a SYSTEM \"file:///etc/passwd\"><a/>",
      "<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a>&x;</a>",
      "<!DOCTYPE a [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><a>&b;</a>",
      "<a>&undefined;</a>",
  };
  for (const auto& text : refused) {
    SCOPED_TRACE(text);
    EXPECT_THROW(XmlDocument::Parse(text), XmlException);
  }
}

TEST(XmlDocument, FirstChildIsTheRootAfterTheDeclaration) {
  // The text is UTF-8 whatever the declaration claims.
  const auto document =
      XmlDocument::Parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><root a=\"caf\xC3\xA9\"/>");
  const auto root = document.FirstChild();
  ASSERT_TRUE(root);
  EXPECT_EQ(root->Name(), "root");
  EXPECT_EQ(root->GetAttribute("a"), "caf\xC3\xA9");
}

TEST(XmlNode, KindsNamesAndValues) {
  const auto document = XmlDocument::Parse("<r x=\"a&amp;b\">t&lt;1<![CDATA[c<d]]><!--note--><?pi data?><e/></r>");
  const auto root = *document.FirstChild();
  ASSERT_EQ(root.ChildCount(), 5u);
  const auto children = root.Children();
  const struct {
    XmlNode::Kind kind;
    const char* name;
    const char* value;
  } expected[] = {
      {XmlNode::Kind::kText, "#text", "t<1"},
      {XmlNode::Kind::kCData, "#cdata-section", "c<d"},
      {XmlNode::Kind::kComment, "#comment", "note"},
      {XmlNode::Kind::kProcessingInstruction, "pi", "data"},
      {XmlNode::Kind::kElement, "e", ""},
  };
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(children[i].GetKind(), expected[i].kind) << i;
    EXPECT_EQ(children[i].Name(), expected[i].name) << i;
    EXPECT_EQ(children[i].Value(), expected[i].value) << i;
    EXPECT_TRUE(root.Child(i)->IsSameNode(children[i])) << i;
  }
  EXPECT_FALSE(root.Child(5));
  const auto attribute = root.XqlFirst("@x");
  ASSERT_TRUE(attribute);
  EXPECT_TRUE(attribute->IsAttribute());
  EXPECT_EQ(attribute->Value(), "a&b");
}

TEST(XmlNode, QueriesAreRelativeAndInDocumentOrder) {
  const auto document = XmlDocument::Parse("<r><a>1</a><b><a>2</a></b><a>3</a></r>");
  const auto root = *document.FirstChild();
  const auto direct = root.Xql("a");
  ASSERT_EQ(direct.size(), 2u);
  EXPECT_EQ(direct[0].FirstChild()->Value(), "1");
  EXPECT_EQ(direct[1].FirstChild()->Value(), "3");
  EXPECT_EQ(root.Xql("//a | b").size(), 4u);
  EXPECT_EQ(root.Xql("count(a)").size(), 0u);        // no node set
  EXPECT_EQ(root.Xql("namespace::*").size(), 0u);    // namespace nodes are never handed out
  EXPECT_FALSE(root.XqlFirst("nothing"));
  EXPECT_THROW(root.Xql(""), platform::XmlQueryError);
  EXPECT_THROW(root.Xql("a[["), platform::XmlQueryError);
}

TEST(XmlNode, NodesKeepTheirDocumentAlive) {
  std::optional<XmlNode> kept;
  {
    const auto document = XmlDocument::Parse("<r><a>kept</a></r>");
    kept = document.FirstChild()->XqlFirst("a/text()");
  }
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Value(), "kept");
}

TEST(XmlDocument, WhiteSpaceBetweenElementsStaysAsTextNodes) {
  const auto document = XmlDocument::Parse("<r>\n  <a/>\n</r>");
  EXPECT_EQ(document.FirstChild()->ChildCount(), 3u);
}

}  // namespace
