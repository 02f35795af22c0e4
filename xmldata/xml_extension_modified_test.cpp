#include "xmldata/xml_extension_modified.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/debug_log.h"

namespace {

class LoadXMLStrTest : public testing::Test {
 protected:
  platform::ScopedDebugLogSink sink_{[this](std::string_view line) { logged_.emplace_back(line); }};
  std::vector<std::string> logged_;
};

TEST_F(LoadXMLStrTest, EmptyTextGivesAnEmptyWrapperSilently) {
  const XMLData data = XMLExtensionModified::LoadXMLStr("");
  EXPECT_FALSE(data.Exists());
  EXPECT_FALSE(data.GetNode("commands"));
  EXPECT_TRUE(logged_.empty());
}

TEST_F(LoadXMLStrTest, UnparsableTextLogsOnceAndGivesAnEmptyWrapper) {
  for (const char* text : {"not xml", "<a>", "<!DOCTYPE a><a/>"}) {
    logged_.clear();
    const XMLData data = XMLExtensionModified::LoadXMLStr(text);
    EXPECT_FALSE(data.Exists()) << text;
    EXPECT_EQ(logged_, std::vector<std::string>{"The string could not be parsed as XML."}) << text;
  }
}

TEST_F(LoadXMLStrTest, WrapsTheRootElementSoLookupsAreRelativeToIt) {
  const XMLData data = XMLExtensionModified::LoadXMLStr(
      "<?xml version=\"1.0\"?><job><commands id=\"top\"/><deeper><commands id=\"deep\"/></deeper></job>");
  ASSERT_TRUE(data.Exists());
  EXPECT_EQ(data.GetURLDecodedString("commands/@id", "none", true), "top");
  EXPECT_FALSE(data.GetNode("deeper/x"));
  EXPECT_TRUE(logged_.empty());
}

TEST_F(LoadXMLStrTest, DocumentWhoseRootIsCommandsHasNoCommandsChild) {
  const XMLData data = XMLExtensionModified::LoadXMLStr("<commands><command/></commands>");
  EXPECT_TRUE(data.Exists());
  EXPECT_FALSE(data.GetNode("commands"));
}

}  // namespace
