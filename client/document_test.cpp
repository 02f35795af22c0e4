#include <gtest/gtest.h>

#include <cmdrunner/client.h>

#include "platform/percent_decoding.h"

namespace {

using cmdrunner::Batch;
using cmdrunner::Command;

// Texts that break a naive encoder one way or another.
const std::vector<std::string> kAwkwardTexts = {
    "with space",  "a+b",       "100%",          "%41 stays %41", "a&b;&amp;",          "<tag attr=\"x\">",
    "\"double\" 'single'",      "line1\nline2",  "crlf\r\nend\r", "tab\there",          "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x99\x82",
    "]]>",         "  padded  ", "-",            "--help",        "$(echo hi) `x` ;|&", "back\\slash",
    "~user",       "*glob?",    " ",             "\x7F"};

Batch AwkwardBatch() {
  Batch batch;
  batch.push_back(Command{"/bin/echo", kAwkwardTexts, true});
  batch.push_back(Command{"/tmp/a tool+%&<\xC3\xA9>", {"", "x", ""}, false});
  batch.push_back(Command{"/bin/true", {}, false});
  return batch;
}

TEST(EncodeWordTest, WordIsTheCompactDocumentPercentEncodedTwice) {
  const auto word = cmdrunner::EncodeWord({Command{"/bin/echo", {"a b", ""}, true}});
  ASSERT_TRUE(word) << word.error();
  EXPECT_EQ(word->find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~%"),
            std::string::npos);
  EXPECT_EQ(platform::DecodePercent(*word),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><job><commands><command>"
            "<tool_path>%2Fbin%2Fecho</tool_path>"
            "<arguments><argument><value>a%20b</value></argument><argument><value></value></argument></arguments>"
            "<fail_on_error>true</fail_on_error></command></commands></job>");
}

TEST(EncodeWordTest, AwkwardTextsRoundTrip) {
  const Batch batch = AwkwardBatch();
  const auto word = cmdrunner::EncodeWord(batch);
  ASSERT_TRUE(word) << word.error();
  const auto decoded = cmdrunner::DecodeWord(*word);
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_EQ(*decoded, batch);
}

TEST(EncodeWordTest, EmptyBatchRoundTrips) {
  const auto word = cmdrunner::EncodeWord({});
  ASSERT_TRUE(word);
  const auto decoded = cmdrunner::DecodeWord(*word);
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_TRUE(decoded->empty());
}

TEST(EncodeWordTest, RefusesTextsThatCannotReachTheTool) {
  struct Case {
    Command command;
    std::string error;
  } cases[] = {
      {{"/bin/echo", {"ok", std::string("a\0b", 3)}, false}, "command 1, value 2 holds a NUL byte"},
      {{std::string("/bin/\0echo", 10), {}, false}, "command 1, tool_path holds a NUL byte"},
      {{"/bin/echo", {"caf\xE9"}, false}, "command 1, value 1 is not UTF-8"},
      {{"/bin/\xC3", {}, false}, "command 1, tool_path is not UTF-8"},
      {{"/bin/echo", {std::string(30000, '/')}, false}, "one argument may hold at most 131071 bytes"},
  };
  for (const auto& c : cases) {
    const auto word = cmdrunner::EncodeWord({c.command});
    EXPECT_FALSE(word);
    EXPECT_NE(word.error().find(c.error), std::string::npos) << word.error();
  }
}

TEST(ReadableTest, AwkwardTextsRoundTrip) {
  const Batch batch = AwkwardBatch();
  const auto xml = cmdrunner::WriteReadable(batch);
  ASSERT_TRUE(xml) << xml.error();
  const auto read = cmdrunner::ReadReadable(*xml);
  ASSERT_TRUE(read) << read.error() << "\n" << *xml;
  EXPECT_EQ(*read, batch);
}

TEST(ReadableTest, WritesIndentedDocument) {
  const auto xml = cmdrunner::WriteReadable({Command{"/bin/mkdir", {"-p", "/tmp/a & b"}, true}, {"/bin/ls", {}, false}});
  ASSERT_TRUE(xml);
  EXPECT_EQ(*xml,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<job>\n"
            "  <commands>\n"
            "    <command>\n"
            "      <tool_path>/bin/mkdir</tool_path>\n"
            "      <arguments>\n"
            "        <argument><value>-p</value></argument>\n"
            "        <argument><value>/tmp/a &amp; b</value></argument>\n"
            "      </arguments>\n"
            "      <fail_on_error>true</fail_on_error>\n"
            "    </command>\n"
            "    <command>\n"
            "      <tool_path>/bin/ls</tool_path>\n"
            "      <fail_on_error>false</fail_on_error>\n"
            "    </command>\n"
            "  </commands>\n"
            "</job>\n");
}

TEST(ReadableTest, RefusesTextsXmlCannotCarry) {
  for (const std::string& value : {std::string("bell\a"), std::string("esc\x1B[0m"), std::string("\xFF")}) {
    const auto xml = cmdrunner::WriteReadable({Command{"/bin/echo", {value}, false}});
    EXPECT_FALSE(xml);
    EXPECT_NE(xml.error().find("command 1, value 1"), std::string::npos) << xml.error();
  }
}

// Pretty-printed input, with comments and a declaration, reads as the plain
// commands; the word made from it carries no empty values for the layout.
TEST(ReadableTest, LayoutAndCommentsAddNothing) {
  const char* xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- make and show a folder -->
<job>
  <commands>
    <!-- first -->
    <command id="ignored">
      <tool_path>/bin/mkdir</tool_path>
      <arguments>
        <!-- the folder -->
        <argument>
          <value>/tmp/x y</value>
        </argument>
        <arg><value/></arg>
        <item><value><![CDATA[a<b & c]]></value></item>
      </arguments>
      <fail_on_error>YES</fail_on_error>
    </command>
    <COMMAND><tool_path>/bin/ls</tool_path><fail_on_error/></COMMAND>
    <Command><tool_path>/bin/ls</tool_path><fail_on_error>Off</fail_on_error></Command>
    <command><tool_path>/bin/ls</tool_path><fail_on_error>1</fail_on_error></command>
  </commands>
</job>
)";
  const auto batch = cmdrunner::ReadReadable(xml);
  ASSERT_TRUE(batch) << batch.error();
  const Batch expected = {{"/bin/mkdir", {"/tmp/x y", "", "a<b & c"}, true},
                          {"/bin/ls", {}, false},
                          {"/bin/ls", {}, false},
                          {"/bin/ls", {}, true}};
  EXPECT_EQ(*batch, expected);
  const auto word = cmdrunner::EncodeWord(*batch);
  ASSERT_TRUE(word);
  const std::string document = platform::DecodePercent(*word);
  EXPECT_EQ(document.substr(document.find("?>")).find_first_of(" \n\t"), std::string::npos) << document;
}

TEST(ReadableTest, HonoursTheDeclaredEncoding) {
  const auto batch = cmdrunner::ReadReadable(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
      "<job><commands><command><tool_path>/bin/echo</tool_path>"
      "<arguments><a><value>caf\xE9</value></a></arguments></command></commands></job>");
  ASSERT_TRUE(batch) << batch.error();
  EXPECT_EQ((*batch)[0].values[0], "caf\xC3\xA9");
}

// Mistakes that cmdrunner would read in silence, and broken documents.
TEST(ReadableTest, RefusesWhatCmdrunnerWouldMisread) {
  const auto wrap = [](const std::string& command) {
    return "<job><commands><command>" + command + "</command></commands></job>";
  };
  struct Case {
    std::string xml;
    std::string error;
  } cases[] = {
      {"<job/>", "no <commands> element inside <job>"},
      {"<commands><command><tool_path>/bin/ls</tool_path></command></commands>", "<commands> is the top element"},
      {"<job><commands/><commands/></job>", "a second <commands>"},
      {"<job><setup/><commands/></job>", "unexpected element <setup> in <job>"},
      {"<job><commands><comand><tool_path>/bin/ls</tool_path></comand></commands></job>",
       "line 1: unexpected element <comand> in <commands>"},
      {"<job><commands>ls</commands></job>", "text directly inside <commands>"},
      {wrap("<arguments/>"), "command 1 has no <tool_path>"},
      {wrap("<tool_path>/bin/ls</tool_path><tool_path>/bin/rm</tool_path>"), "command 1 has a second <tool_path>"},
      {wrap("<tool_path>/bin/ls</tool_path><failonerror>true</failonerror>"), "unexpected element <failonerror>"},
      {wrap("<tool_path>/bin/ls</tool_path><arguments><value>-l</value></arguments>"),
       "command 1, value 1: <value> stands directly inside <arguments>"},
      {wrap("<tool_path>/bin/ls</tool_path><arguments><argument/></arguments>"),
       "command 1, value 1: <argument> holds no <value>"},
      {wrap("<tool_path>/bin/ls</tool_path><arguments>-l</arguments>"), "text directly inside <arguments>: \"-l\""},
      {wrap("<tool_path>/bin/ls</tool_path>\n  one line\n  and another, far too long to show whole\n"),
       "line 1: text directly inside <command>: \"   one line   and another, far too long ...\""},
      {wrap("<tool_path>/bin/ls</tool_path><arguments><a><value>1</value><value>2</value></a></arguments>"),
       "a second <value>"},
      {wrap("<tool_path>/bin/ls</tool_path><arguments><a><value>a<!-- c -->b</value></a></arguments>"),
       "<value> must hold plain text only"},
      {wrap("<tool_path>/bin/<b>ls</b></tool_path>"), "<tool_path> must hold plain text only"},
      {wrap("<tool_path>/bin/ls</tool_path><fail_on_error>sometimes</fail_on_error>"),
       "fail_on_error \"sometimes\" is not true or false"},
      {wrap("<tool_path>/bin/ls</tool_path><fail_on_error> false</fail_on_error>"), "is not true or false"},
      {"<job xmlns=\"urn:x\"><commands/></job>", "element <commands> is in a namespace"},
      {"<!DOCTYPE job [<!ENTITY e \"x\">]><job><commands/></job>", "document type declaration"},
      {"<job><commands>\n<command>\n</commands></job>", "line 3:"},
      {"", "line"},
  };
  for (const auto& c : cases) {
    const auto batch = cmdrunner::ReadReadable(c.xml);
    EXPECT_FALSE(batch) << c.xml;
    EXPECT_NE(batch.error().find(c.error), std::string::npos) << c.xml << "\n  gave: " << batch.error();
  }
}

TEST(DecodeWordTest, KeepsAnEmptyValueForEveryNodeBetweenItems) {
  // A hand-made word with layout inside <arguments>: cmdrunner makes an
  // empty value of each white-space node and comment there, and so do we.
  const std::string inner =
      "<j><commands><command><tool_path>%2Fbin%2Fls</tool_path><arguments>\n"
      "  <a><value>-l</value></a><!-- c -->\n"
      "</arguments></command></commands></j>";
  const auto batch = cmdrunner::DecodeWord(cmdrunner::PercentEncode(inner));
  ASSERT_TRUE(batch) << batch.error();
  EXPECT_EQ(*batch, (Batch{{"/bin/ls", {"", "-l", "", ""}, false}}));
}

TEST(DecodeWordTest, RefusesWordsItCannotReadAsCmdrunnerDoes) {
  const auto word = [](const std::string& value) {
    return cmdrunner::PercentEncode("<j><commands><command><tool_path>%2Fbin%2Fecho</tool_path><arguments><a><value>" +
                                    value + "</value></a></arguments></command></commands></j>");
  };
  struct Case {
    std::string word;
    std::string error;
  } cases[] = {
      {"%3Cj%3", "malformed percent escape"},
      {word("%zz"), "command 1, value 1: malformed percent escape"},
      {word("caf%E9"), "command 1, value 1 is not UTF-8 text once decoded"},
      {word("a%00b"), "holds a NUL byte once decoded"},
      {"%3Cj%3E%E9%3C%2Fj%3E", "the decoded word is not UTF-8 text"},
      {cmdrunner::PercentEncode("<!-- c --><j><commands/></j>"), "does not begin with its top element"},
      {"plain", "line 1"},
      {"", "line 1"},
  };
  for (const auto& c : cases) {
    const auto batch = cmdrunner::DecodeWord(c.word);
    EXPECT_FALSE(batch) << c.word;
    EXPECT_NE(batch.error().find(c.error), std::string::npos) << c.word << "\n  gave: " << batch.error();
  }
}

TEST(DecodeWordTest, ReadableDocumentSurvivesTheWordUnchanged) {
  const auto readable = cmdrunner::WriteReadable(AwkwardBatch());
  ASSERT_TRUE(readable);
  const auto word = cmdrunner::EncodeWord(*cmdrunner::ReadReadable(*readable));
  ASSERT_TRUE(word);
  const auto back = cmdrunner::WriteReadable(*cmdrunner::DecodeWord(*word));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, *readable);
}

}  // namespace
