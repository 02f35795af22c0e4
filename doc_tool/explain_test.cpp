// explain's claims against what the real cmdrunner then does with the same
// words: statuses, messages, the argv each tool receives, the empty values
// left out, and fail_on_error as cmdrunner reads it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmdrunner/client.h>
#include <optional>
#include <sstream>

#include "client/test_support.h"
#include "doc_tool/explain.h"

namespace {

using client_testing::LinkRecorder;
using client_testing::ReadRecords;
using client_testing::RunProgram;
using client_testing::TempDir;
using client_testing::WriteFile;
using cmdrunner::PercentEncode;

std::string Unquote(std::string_view quoted) {
  EXPECT_TRUE(quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"') << quoted;
  std::string text;
  for (size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] != '\\') {
      text.push_back(quoted[i]);
      continue;
    }
    const char c = quoted[++i];
    if (c == 'n') text.push_back('\n');
    else if (c == 't') text.push_back('\t');
    else if (c == 'r') text.push_back('\r');
    else if (c == 'x') {
      text.push_back(static_cast<char>(std::stoi(std::string(quoted.substr(i + 1, 2)), nullptr, 16)));
      i += 2;
    } else {
      text.push_back(c);
    }
  }
  return text;
}

struct ExplainedCommand {
  bool missing = false;
  bool can_start = false;
  std::vector<std::string> argv;
  std::vector<size_t> left_out;  // positions in the value list, from 1
  std::optional<bool> fail_on_error;
};

struct Explained {
  std::vector<ExplainedCommand> commands;
  int status = 0, parent_sees = -1;
  std::optional<std::string> message;  // only for an outcome known for sure
  std::vector<std::string> debug_log;
};

// The rest of the line after the prefix, when the line starts with it.
bool Take(const std::string& line, std::string_view prefix, std::string& rest) {
  if (!line.starts_with(prefix)) return false;
  rest = line.substr(prefix.size());
  return true;
}

Explained Parse(const std::string& text) {
  Explained explained;
  std::istringstream lines(text);
  std::string line, rest;
  while (std::getline(lines, line)) {
    if (line.starts_with("command ")) {
      explained.commands.emplace_back();
    } else if (line == "  tool: missing") {
      explained.commands.back().missing = true;
    } else if (line.starts_with("  tool: ")) {
      explained.commands.back().can_start = line.ends_with(" exists and can be started");
    } else if (line.starts_with("  argv[")) {
      explained.commands.back().argv.push_back(Unquote(line.substr(line.find("]: ") + 3)));
    } else if (Take(line, "  left out: value ", rest)) {
      explained.commands.back().left_out.push_back(std::stoul(rest));
    } else if (Take(line, "  fail_on_error: ", rest)) {
      explained.commands.back().fail_on_error = rest.starts_with("true");
    } else if (Take(line, "outcome: status ", rest)) {
      explained.status = std::stoi(rest);
      explained.parent_sees = std::stoi(rest.substr(rest.find("sees ") + 5));
    } else if (Take(line, "message: ", rest)) {
      explained.message = Unquote(rest);
    } else if (Take(line, "debug log: ", rest)) {
      explained.debug_log.push_back(Unquote(rest));
    }
  }
  return explained;
}

// The status a stand-in tool exits with: the number after "exit" in its name.
int ToolStatus(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t at = path.rfind("exit");
  if (at == std::string::npos || (slash != std::string::npos && at < slash)) return 0;
  return std::atoi(path.c_str() + at + 4);
}

class ExplainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"ok", "exit3", "relative"}) LinkRecorder(dir_ / name);
    ::mkdir((dir_ / "adir").c_str(), 0755);
    WriteFile(dir_ / "noexec", "#!/bin/sh\n");
    WriteFile(dir_ / "noshebang", "exit 0\n");
    ::chmod((dir_ / "noshebang").c_str(), 0755);
  }

  std::string Tool(const std::string& name) const { return dir_ / name; }

  // A word whose commands are given in the document's own XML.
  static std::string Word(const std::string& commands) {
    return PercentEncode("<?xml version=\"1.0\"?><job><commands>" + commands + "</commands></job>");
  }
  std::string Command(const std::string& tool, const std::string& inner = "") const {
    return "<command><tool_path>" + PercentEncode(tool.starts_with("/") || tool.empty() ? tool : Tool(tool)) +
           "</tool_path>" + inner + "</command>";
  }

  // Runs explain, then cmdrunner, on the same words and holds explain to
  // every claim it made. Returns the explanation for further checks.
  Explained ExplainThenRun(const std::vector<std::string>& words) {
    std::vector<std::string> explain_args{"explain"};
    explain_args.insert(explain_args.end(), words.begin(), words.end());
    const auto explain = RunProgram(CMDRUNNER_DOC_PATH, explain_args, "", {}, dir_.Path());
    EXPECT_EQ(explain.status, 0);
    EXPECT_EQ(explain.err, "");
    const Explained explained = Parse(explain.out);

    const std::string record = dir_ / ("record" + std::to_string(++runs_));
    const auto real = RunProgram(CMDRUNNER_PATH, words, "", {"ARGV_RECORD=" + record}, dir_.Path());
    EXPECT_EQ(real.err, "");

    // Each tool that explain says can be started runs, with the argv it
    // said, until a failure under a true fail_on_error stops the run.
    std::vector<std::vector<std::string>> expected_records;
    int status = 0;
    std::string out;
    for (const auto& command : explained.commands) {
      if (command.missing || !command.can_start) continue;
      expected_records.push_back(command.argv);
      const int tool_status = ToolStatus(command.argv[0]);
      if (tool_status != 0 && command.fail_on_error.value_or(false)) {
        // The report's command line shows the left-out values as well.
        std::vector<std::string> values(command.argv.begin() + 1, command.argv.end());
        for (const size_t position : command.left_out) values.insert(values.begin() + (position - 1), "");
        std::string line = command.argv[0] + " ";
        for (size_t i = 0; i < values.size(); ++i) line += (i ? " " : "") + values[i];
        status = tool_status;
        out = "Fatal Error: Command Error\nError Code: " + std::to_string(tool_status) + "\nCommand: " + line +
              "\nResult: ";
        break;
      }
    }
    if (explained.message) {
      status = explained.parent_sees;
      out = *explained.message;
    }
    EXPECT_EQ(real.status, status) << explain.out;
    EXPECT_EQ(real.out, out) << explain.out;
    EXPECT_EQ(ReadRecords(record), expected_records) << explain.out;
    return explained;
  }

  TempDir dir_;
  int runs_ = 0;
};

TEST_F(ExplainTest, RefusedCallsGiveCmdrunnersStatusAndMessage) {
  const std::string word = Word(Command("ok"));
  struct Case {
    std::vector<std::string> words;
    int status;
  } cases[] = {
      {{}, -101},
      {{"", " \t"}, -101},
      {{word, word}, -102},
      {{word, "x"}, -102},
      {{"not xml"}, -103},
      {{"%3Cjob%3E%3Ccommands%3E"}, -103},
      {{PercentEncode("<commands>" + Command("ok") + "</commands>")}, -103},
      {{PercentEncode("<job><x><commands>" + Command("ok") + "</commands></x></job>")}, -103},
  };
  for (const auto& c : cases) {
    const Explained explained = ExplainThenRun(c.words);
    EXPECT_EQ(explained.status, c.status);
    EXPECT_TRUE(explained.message);
    EXPECT_TRUE(explained.commands.empty());
  }
  EXPECT_EQ(ExplainThenRun({"not xml"}).debug_log, std::vector<std::string>{"The string could not be parsed as XML."});
}

TEST_F(ExplainTest, BlankWordsAroundTheDocumentAreIgnored) {
  const Explained explained = ExplainThenRun({"", Word(Command("ok")), " "});
  ASSERT_EQ(explained.commands.size(), 1u);
  EXPECT_FALSE(explained.message);
}

TEST_F(ExplainTest, MissingToolStopsTheRunWhereCmdrunnerStops) {
  const Explained explained =
      ExplainThenRun({Word(Command("ok") + Command("/no/such/tool+x") + Command("ok") + Command(""))});
  EXPECT_EQ(explained.status, -104);
  EXPECT_EQ(explained.parent_sees, 152);
  EXPECT_EQ(explained.commands.size(), 2u);

  const Explained empty_path = ExplainThenRun({Word("<command><arguments/></command>")});
  EXPECT_EQ(empty_path.message, "Fatal Error: Helper tool '' could not be found on this system.");
}

TEST_F(ExplainTest, ArgvAndLeftOutValuesMatchWhatTheToolReceives) {
  const std::string arguments =
      "<arguments>\n"
      "  <a><value>with%20space</value></a>\n"
      "  <b><value/></b><!-- a comment is an item too -->\n"
      "  <c><other>x</other></c>\n"
      "  <d><value>" + PercentEncode("a+b %41 & <\"\xC3\xA9\">\nline") + "</value></d>"
      "<e><value>plus+stays</value></e>"
      "<f><value>caf%E9</value></f>"
      "</arguments>";
  const Explained explained = ExplainThenRun({Word(Command("ok", arguments) + "\n<COMMAND><tool_path>relative" +
                                                  "</tool_path></COMMAND><other/>")});
  ASSERT_EQ(explained.commands.size(), 2u);
  EXPECT_EQ(explained.commands[0].argv,
            (std::vector<std::string>{Tool("ok"), "with space", "a+b %41 & <\"\xC3\xA9\">\nline", "plus+stays",
                                      "caf\xC3\xA9"}));
  EXPECT_EQ(explained.commands[0].left_out, (std::vector<size_t>{1, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(explained.commands[1].argv, std::vector<std::string>{Tool("relative")});
}

TEST_F(ExplainTest, FailOnErrorIsReadAsCmdrunnerReadsIt) {
  const std::vector<std::optional<std::string>> texts = {
      std::nullopt, "", "true", "yes", "On", "1", "2", "-1", "0.5", "sometimes", " false",
      "false", "FALSE", "no", "Off", "0", "0.0", "-0", "000"};
  for (const auto& text : texts) {
    const std::string fail_on_error = text ? "<fail_on_error>" + *text + "</fail_on_error>" : "";
    const Explained explained = ExplainThenRun({Word(Command("exit3", fail_on_error) + Command("ok"))});
    ASSERT_FALSE(explained.commands.empty());
    EXPECT_TRUE(explained.commands[0].fail_on_error.has_value());
  }
  // A comment ahead of the text is what cmdrunner reads.
  const Explained commented =
      ExplainThenRun({Word(Command("exit3", "<fail_on_error><!--yes-->false</fail_on_error>") + Command("ok"))});
  EXPECT_EQ(commented.commands[0].fail_on_error, true);
}

TEST_F(ExplainTest, ToolsThatCannotStartFailAsCmdrunnerReportsThem) {
  for (const char* tool : {"adir", "noexec", "noshebang"}) {
    const Explained stops = ExplainThenRun({Word(Command(tool, "<fail_on_error>true</fail_on_error>") + Command("ok"))});
    EXPECT_EQ(stops.status, -1) << tool;
    EXPECT_FALSE(stops.commands[0].can_start) << tool;

    const Explained goes_on = ExplainThenRun({Word(Command(tool) + Command("ok"))});
    EXPECT_EQ(goes_on.status, 0) << tool;
    EXPECT_FALSE(goes_on.message) << tool;
  }
  // A NUL byte in a value stops the start too.
  const Explained nul = ExplainThenRun(
      {Word(Command("ok", "<arguments><a><value>a%00b</value></a></arguments><fail_on_error>1</fail_on_error>"))});
  EXPECT_EQ(nul.status, -1);
}

TEST_F(ExplainTest, SaysWhichFailuresWouldStopTheRun) {
  std::ostringstream out;
  Explain({Word(Command("ok", "<fail_on_error>yes</fail_on_error>") + Command("ok") +
                Command("ok", "<fail_on_error>1</fail_on_error>"))},
          out);
  EXPECT_NE(out.str().find("outcome: status 0 (a parent sees 0) if every tool succeeds; a failing tool of command "
                           "1 or 3 stops the run with its status and the command-error report\n"),
            std::string::npos)
      << out.str();
}

TEST(ExplainFormatTest, ShowsEachCommandOnLinesOfItsOwn) {
  std::ostringstream out;
  Explain({PercentEncode("<j><commands><command><tool_path>%2Fbin%2Fsh</tool_path><arguments>"
                         "<a><value>-c</value></a><a><value/></a><a><value>echo%20%22hi%22%0A</value></a>"
                         "</arguments></command>\n<other/><command><tool_path>%2Fno%2Fsuch</tool_path></command>"
                         "<command><tool_path>%2Fbin%2Fsh</tool_path></command></commands></j>")},
          out);
  EXPECT_EQ(out.str(),
            "command 1\n"
            "  tool_path: \"/bin/sh\"\n"
            "  tool: \"/bin/sh\" exists and can be started\n"
            "  argv[0]: \"/bin/sh\"\n"
            "  argv[1]: \"-c\"\n"
            "  left out: value 2 (empty)\n"
            "  argv[2]: \"echo \\\"hi\\\"\\n\"\n"
            "  fail_on_error: false (not given)\n"
            "  if the tool fails: cmdrunner goes on\n"
            "skipped: <other> is not a command\n"
            "command 2\n"
            "  tool_path: \"/no/such\"\n"
            "  tool: missing\n"
            "not reached: 1 more command\n"
            "outcome: status -104 (a parent sees 152)\n"
            "message: \"Fatal Error: Helper tool '/no/such' could not be found on this system.\"\n");
}

}  // namespace
