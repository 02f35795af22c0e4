// Whatever the client reads out of a word, cmdrunner reads the same: the
// reference reading below makes exactly the calls that cmdrunner's Run makes.
#include <gtest/gtest.h>

#include <cmdrunner/client.h>
#include <optional>

#include "platform/text.h"
#include "xmldata/core_engine.h"
#include "xmldata/xml_extension_modified.h"

namespace {

using cmdrunner::Batch;
using cmdrunner::Command;

// nullopt where cmdrunner would find no <commands>. fail_on_error is read
// as cmdrunner reads it when a tool fails.
std::optional<Batch> ReadLikeCmdrunner(const std::string& word) {
  const XMLData document = XMLExtensionModified::LoadXMLStr(CoreEngine::DecodingFromURLVRD(word));
  const auto commands = document.GetNode("commands");
  if (!commands) return std::nullopt;
  Batch batch;
  for (const auto& child : commands->Children()) {
    if (!platform::EqualsIgnoringCase(child.Name(), "command")) continue;
    const XMLData command(child);
    Command plain;
    plain.tool_path = command.GetURLDecodedString("tool_path", "", false);
    if (const auto arguments = command.GetNode("arguments")) {
      for (const auto& item : arguments->Children()) {
        plain.values.push_back(XMLData(item).GetURLDecodedString("value", "", false));
      }
    }
    plain.fail_on_error = command.GetBoolean("fail_on_error", false);
    batch.push_back(std::move(plain));
  }
  return batch;
}

TEST(AgreementTest, WordsTheClientMakesReadTheSameInCmdrunner) {
  const std::vector<std::string> texts = {"",  " ",  "a b", "a+b", "100%", "%2F", "&amp;", "<x>", "\"'", "l1\nl2",
                                          "\r\n", "\t", "\xC3\xA9\xF0\x9F\x99\x82", "]]>", "\x01\x1F\x7F"};
  Batch batch;
  for (size_t i = 0; i < texts.size(); ++i) {
    batch.push_back(Command{"/bin/" + texts[i], texts, i % 2 == 0});
  }
  const auto word = cmdrunner::EncodeWord(batch);
  ASSERT_TRUE(word) << word.error();
  const auto cmdrunner_reading = ReadLikeCmdrunner(*word);
  ASSERT_TRUE(cmdrunner_reading);
  EXPECT_EQ(*cmdrunner_reading, batch);
}

// Hand-made documents: where the client accepts one, both readings agree;
// the ones it refuses are read by cmdrunner in a way their writer can hardly
// have meant.
TEST(AgreementTest, HandMadeDocumentsReadTheSameOrAreRefused) {
  const auto command = [](const std::string& inner) {
    return "<?xml version=\"1.0\"?><job><commands><command>" + inner + "</command></commands></job>";
  };
  struct Case {
    std::string xml;
    bool accepted;
  } cases[] = {
      {command("<tool_path>%2Fbin%2Fls</tool_path>"), true},
      {"<j>\n <commands>\n  <COMMAND><tool_path>/bin/ls</tool_path></COMMAND>\n  <!-- c -->\n </commands>\n</j>", true},
      {command("<tool_path><![CDATA[/bin/ls]]></tool_path><arguments><a><value><![CDATA[%3C]]></value></a></arguments>"),
       true},
      {command("<tool_path>/bin/ls</tool_path><arguments>\n<a><value>-l</value></a>\n<!--x--><b><value/></b></arguments>"),
       true},
      {command("<tool_path>/bin/ls</tool_path><arguments><a><value>a&amp;b&#x20;c</value></a></arguments>"), true},
      {command("<tool_path>/bin/ls</tool_path><fail_on_error>Yes</fail_on_error>"), true},
      {command("<tool_path>/bin/ls</tool_path><fail_on_error>0</fail_on_error>"), true},
      {command("<tool_path>/bin/ls</tool_path><fail_on_error></fail_on_error>"), true},
      {command("<tool_path>/bin/ls</tool_path><fail_on_error><![CDATA[on]]></fail_on_error>"), true},
      {command("<tool_path>a+b%20c</tool_path>"), true},
      {command("<tool_path>/bin/ls</tool_path><fail_on_error> false</fail_on_error>"), false},
      {command("<tool_path>/bin/ls</tool_path><fail_on_error>2</fail_on_error>"), false},
      {command("<tool_path><!--x-->/bin/ls</tool_path>"), false},
      {command("<tool_path>/bin/<!--x-->ls</tool_path>"), false},
      {command("<tool_path>/bin/ls</tool_path><tool_path>/bin/rm</tool_path>"), false},
      {command("<tool_path>/bin/ls</tool_path><arguments><value>-l</value></arguments>"), false},
      {command("<tool_path>/bin/ls</tool_path><arguments><a><value>%3</value></a></arguments>"), false},
      {command("<tool_path>/bin/ls</tool_path><arguments><a><value>%FF</value></a></arguments>"), false},
      {command("<Tool_Path>/bin/ls</Tool_Path>"), false},
      {"<job><commands><command><tool_path>/bin/ls</tool_path></command></commands><commands/></job>", false},
      {"<job xmlns='urn:x'><commands><command><tool_path>/bin/ls</tool_path></command></commands></job>", false},
      {"<j><commands><x:command xmlns:x='urn:x'><tool_path>/bin/ls</tool_path></x:command></commands></j>", false},
      {"<!-- first --><job><commands/></job>", false},
  };
  for (const auto& c : cases) {
    const std::string word = cmdrunner::PercentEncode(c.xml);
    const auto client_reading = cmdrunner::DecodeWord(word);
    EXPECT_EQ(static_cast<bool>(client_reading), c.accepted) << c.xml << "\n  " << client_reading.error();
    if (!client_reading) continue;
    const auto cmdrunner_reading = ReadLikeCmdrunner(word);
    ASSERT_TRUE(cmdrunner_reading) << c.xml;
    EXPECT_EQ(*client_reading, *cmdrunner_reading) << c.xml;
  }
}

}  // namespace
