// cmdrunner-doc as a caller runs it: exit statuses, standard output and
// standard error, for encode, decode and the Unix conventions.
#include "doc_tool/doc_tool.h"

#include <gtest/gtest.h>

#include <cmdrunner/client.h>
#include <filesystem>
#include <sstream>

#include "client/test_support.h"

namespace {

using client_testing::ProcessResult;
using client_testing::RunProgram;
using client_testing::TempDir;
using client_testing::WriteFile;

ProcessResult Doc(const std::vector<std::string>& args, const std::string& input = "") {
  return RunProgram(CMDRUNNER_DOC_PATH, args, input);
}

constexpr char kReadable[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- pretty-printed, with a comment -->
<batch>
  <commands>
    <command>
      <tool_path>/bin/echo</tool_path>
      <arguments>
        <argument><value>a &amp; b</value></argument>
        <argument><value>100% + more</value></argument>
      </arguments>
      <fail_on_error>yes</fail_on_error>
    </command>
  </commands>
</batch>
)";

TEST(DocToolTest, HelpAndVersionGoToStandardOutput) {
  for (const char* option : {"--help", "-h"}) {
    const auto help = Doc({option});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: cmdrunner-doc encode [FILE|-]\n")) << help.out;
    EXPECT_NE(help.out.find("explain WORD..."), std::string::npos);
    EXPECT_EQ(help.err, "");
  }
  const auto version = Doc({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "cmdrunner-doc " CMDRUNNER_VERSION "\n");
  EXPECT_EQ(version.err, "");
}

TEST(DocToolTest, UsageErrorsExitWithTwoOnStandardError) {
  struct Case {
    std::vector<std::string> args;
    std::string first_line;
  } cases[] = {
      {{}, "cmdrunner-doc: missing command"},
      {{"frobnicate"}, "cmdrunner-doc: unknown command 'frobnicate'"},
      {{"encode", "a.xml", "b.xml"}, "cmdrunner-doc: encode takes at most one FILE"},
      {{"decode"}, "cmdrunner-doc: decode takes one WORD"},
      {{"decode", "a", "b"}, "cmdrunner-doc: decode takes one WORD"},
  };
  for (const auto& c : cases) {
    const auto result = Doc(c.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with(c.first_line + "\nUsage: ")) << result.err;
    EXPECT_TRUE(result.err.ends_with("Try 'cmdrunner-doc --help' for more information.\n")) << result.err;
  }
}

TEST(DocToolTest, EncodeReadsAFileOrStandardInput) {
  TempDir dir;
  WriteFile(dir / "batch.xml", kReadable);
  const auto from_file = Doc({"encode", dir / "batch.xml"});
  EXPECT_EQ(from_file.status, 0);
  EXPECT_EQ(from_file.err, "");
  const auto expected = cmdrunner::EncodeWord({{"/bin/echo", {"a & b", "100% + more"}, true}});
  EXPECT_EQ(from_file.out, *expected + "\n");
  EXPECT_EQ(Doc({"encode"}, kReadable).out, from_file.out);
  EXPECT_EQ(Doc({"encode", "-"}, kReadable).out, from_file.out);
}

TEST(DocToolTest, DecodePrintsTheReadableDocument) {
  const std::string word = *cmdrunner::EncodeWord({{"/bin/echo", {"a & b", "", "line\nbreak"}, false}});
  const std::string readable = *cmdrunner::WriteReadable({{"/bin/echo", {"a & b", "", "line\nbreak"}, false}});
  const auto result = Doc({"decode", word});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, readable);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Doc({"decode", "-"}, word + "\n").out, readable);
  // And back: the readable document gives the same word.
  EXPECT_EQ(Doc({"encode"}, readable).out, word + "\n");
}

TEST(DocToolTest, ProblemsExitWithOneAndSayWhereOnStandardError) {
  TempDir dir;
  WriteFile(dir / "bad.xml", "<job>\n  <commands>\n    <comand/>\n  </commands>\n</job>\n");
  WriteFile(dir / "broken.xml", "<job>\n<commands>\n</job>\n");
  struct Case {
    std::vector<std::string> args;
    std::string input, err;
  } cases[] = {
      {{"encode", dir / "none.xml"}, "", "cmdrunner-doc: " + dir / "none.xml" + ": No such file or directory\n"},
      {{"encode", dir.Path()}, "", "cmdrunner-doc: " + dir.Path() + ": Is a directory\n"},
      {{"encode", dir / "bad.xml"}, "",
       "cmdrunner-doc: " + dir / "bad.xml" +
           ": line 3: unexpected element <comand> in <commands>; cmdrunner would skip it\n"},
      {{"encode", dir / "broken.xml"}, "",
       "cmdrunner-doc: " + dir / "broken.xml" + ": line 3: Opening and ending tag mismatch: commands line 2 and job\n"},
      {{"encode"}, "<job/>", "cmdrunner-doc: standard input: no <commands> element inside <job>\n"},
      {{"decode", "%3Cjob"}, "", "cmdrunner-doc: the word cannot be decoded: line 1: "},
      {{"decode", *cmdrunner::EncodeWord({{"/bin/echo", {"\x1B[0m"}, false}})}, "",
       "cmdrunner-doc: the word has no readable form: command 1, value 1 holds a control character"},
  };
  for (const auto& c : cases) {
    const auto result = Doc(c.args, c.input);
    EXPECT_EQ(result.status, 1) << c.err;
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with(c.err)) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }
}

TEST(DocToolTest, WriteErrorIsAFailure) {
  TempDir dir;
  WriteFile(dir / "batch.xml", kReadable);
  std::ostringstream full;
  full.setstate(std::ios::badbit);
  std::ostringstream err;
  EXPECT_EQ(RunDocTool({"cmdrunner-doc", "encode", dir / "batch.xml"}, -1, full, err), 1);
  EXPECT_EQ(err.str(), "cmdrunner-doc: write error on standard output\n");
}

// Every example document reads, and explain finds each of its tools.
TEST(DocToolTest, ExamplesEncodeAndTheirToolsCanStart) {
  size_t examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
    if (entry.path().extension() != ".xml") continue;
    ++examples;
    const auto word = Doc({"encode", entry.path()});
    ASSERT_EQ(word.status, 0) << entry.path() << ": " << word.err;
    const auto explained = Doc({"explain", word.out.substr(0, word.out.size() - 1)});
    EXPECT_EQ(explained.status, 0);
    EXPECT_EQ(explained.out.find("missing"), std::string::npos) << explained.out;
    EXPECT_EQ(explained.out.find("cannot be started"), std::string::npos) << explained.out;
    EXPECT_NE(explained.out.find("command 1\n"), std::string::npos) << explained.out;
  }
  EXPECT_GE(examples, 2u);
}

}  // namespace
