// The built cmdrunner under faults, hostile documents and load, run as a
// caller would: the exit status as the parent sees it, the exact bytes on
// standard output, an empty standard error, and what each tool received.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "runner/test_support.h"

// In the sanitizer build cmdrunner reserves terabytes of shadow memory, so
// there an address-space limit cannot be set.
#if defined(__SANITIZE_ADDRESS__)
#define CMDRUNNER_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CMDRUNNER_UNDER_ASAN 1
#endif
#endif

namespace {

using testing_support::Command;
using testing_support::CommandDocument;
using testing_support::ExpectOutcome;
using testing_support::PercentEncode;
using testing_support::ProcessResult;
using testing_support::RunCmdrunner;
using testing_support::RunCommands;
using testing_support::Report;
using testing_support::RunProgram;
using testing_support::TempDir;

// Runs cmdrunner with the word from a /bin/sh script that sets up the
// fault; the script names cmdrunner "$0" and the word "$1".
ProcessResult RunFromShell(const std::string& script, const std::string& word) {
  return RunProgram({"/bin/sh", "-c", script, CMDRUNNER_PATH, word});
}

// For megabytes of output, where EXPECT_EQ would print all of them.
void ExpectSameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return;
  const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  ADD_FAILURE() << actual.size() << " bytes where " << expected.size() << " were expected; first difference at byte "
                << (a - actual.begin());
}

// Numbered lines of a fixed width, so a lost, doubled or misplaced block shows.
std::string NumberedLines(char tag, size_t bytes) {
  std::string text;
  text.reserve(bytes);
  constexpr size_t kWidth = 64;
  for (size_t line = 0; text.size() + kWidth <= bytes; ++line) {
    std::string number = std::to_string(line);
    text += tag;
    text += std::string(9 - number.size(), '0') + number;
    text += std::string(kWidth - 11, tag);
    text += '\n';
  }
  text.append(bytes - text.size(), tag);
  return text;
}

std::string WriteFile(const TempDir& dir, const std::string& name, const std::string& bytes) {
  const std::string path = dir.path() + "/" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// A tool that writes slices of numbered lines to stdout and stderr in turn
// (with `between` after each pair), then runs `end`. Returns its path and
// the whole stdout text it writes.
struct InterleavingToolFiles {
  std::string path, out_text;
};
InterleavingToolFiles InterleavingTool(const TempDir& dir, const std::string& name, size_t slice, size_t slices,
                                       const std::string& between, const std::string& end) {
  std::string out_text = NumberedLines('o', slices * slice);
  const std::string out_file = WriteFile(dir, name + ".out", out_text);
  const std::string err_file = WriteFile(dir, name + ".err", NumberedLines('e', slices * slice));
  const std::string dd = "dd bs=" + std::to_string(slice) + " skip=$i count=1 iflag=fullblock status=none";
  const std::string script = "i=0\nwhile [ $i -lt " + std::to_string(slices) + " ]; do\n  " + dd + " if='" +
                             out_file + "'\n  " + dd + " if='" + err_file + "' >&2\n" + between +
                             "  i=$((i + 1))\ndone\n" + end;
  return {dir.WriteScript(name, script), std::move(out_text)};
}

// ---- Tools that end badly ----

TEST(Faults, ToolKilledBySigkillReportsOneHundredThirtySeven) {
  TempDir dir;
  const std::string tool = dir.WriteScript("killed", "echo partial\nkill -KILL $$\necho never\n");
  ExpectOutcome(RunCommands({{tool, {"a"}, "true"}}), 137, Report(137, tool + " a", "partial\n"));
  // Under a false fail_on_error the next command still runs.
  const std::string after = dir.RecordingTool("after");
  ExpectOutcome(RunCommands({{tool, {}, "false"}, {after, {}, ""}}), 0, "");
  EXPECT_EQ(dir.ReadFile("record.txt"), "after\n");
}

TEST(Faults, BackgroundChildHoldingAStreamIsWaitedForToEndOfFile) {
  TempDir dir;
  // The tool exits at once; its background child writes a second later.
  const std::string on_stdout =
      dir.WriteScript("stdout", "{ sleep 1; echo late; echo late-err >&2; } &\necho early\nexit 3\n");
  ExpectOutcome(RunCommands({{on_stdout, {}, "true"}}), 3, Report(3, on_stdout + " ", "early\nlate\n"));
  // With no standard output at all, the report shows the whole error text.
  const std::string on_stderr =
      dir.WriteScript("stderr", "exec >&-\n{ sleep 1; echo late >&2; } &\necho early >&2\nexit 4\n");
  ExpectOutcome(RunCommands({{on_stderr, {}, "true"}}), 4, Report(4, on_stderr + " ", "early\nlate\n"));
}

TEST(Faults, InterleavedFiftyMegabytesOnEachStreamThenFailure) {
  TempDir dir;
  // Each slice is far larger than a pipe holds, so the tool blocks on one
  // stream, then on the other, until the reader takes both.
  const auto [tool, out_text] = InterleavingTool(dir, "interleave", 1024 * 1024, 50, "", "exit 9\n");
  const ProcessResult r = RunCommands({{tool, {}, "true"}});
  EXPECT_EQ(r.exit_status, 9);
  ExpectSameBytes(r.out, Report(9, tool + " ", out_text));
  EXPECT_EQ(r.err, "");
}

TEST(Faults, ToolThatClosesStdoutEarlyKeepsItsStderrDrained) {
  TempDir dir;
  // More error text than a pipe holds, written after standard output is gone.
  const std::string err_text = NumberedLines('e', 300 * 1024);
  const std::string err_file = WriteFile(dir, "err.txt", err_text);
  const std::string after_output =
      dir.WriteScript("after_output", "echo early\nexec >&-\ncat '" + err_file + "' >&2\nexit 2\n");
  ExpectOutcome(RunCommands({{after_output, {}, "true"}}), 2, Report(2, after_output + " ", "early\n"));
  const std::string before_output = dir.WriteScript("before_output", "exec >&-\ncat '" + err_file + "' >&2\nexit 2\n");
  const ProcessResult r = RunCommands({{before_output, {}, "true"}});
  EXPECT_EQ(r.exit_status, 2);
  ExpectSameBytes(r.out, Report(2, before_output + " ", err_text));
  EXPECT_EQ(r.err, "");
}

// ---- Faults around cmdrunner itself ----

TEST(Faults, DescriptorsRunningOutMidwayOrLeakingAcrossCommands) {
  TempDir dir;
  // Room for one pipe at most.
  const std::string word = PercentEncode(CommandDocument({{"/bin/true", {}, "true"}}));
  const ProcessResult r =
      RunFromShell("exec 3<&- 4<&- 5<&- 6<&- 7<&- 8<&- 9<&-; ulimit -n 5; exec \"$0\" \"$1\"", word);
  EXPECT_EQ(r.exit_status, 255);
  const std::string report_start = Report(-1, "/bin/true ", "PipeError\n\npipe2 failed: ");
  EXPECT_EQ(r.out.rfind(report_start, 0), 0u) << r.out;
  EXPECT_EQ(r.err, "");

  // Room for one command's four pipe ends (and a log socket): a single
  // descriptor kept from one command to the next would starve a later one.
  // The tool is touch, since a shell needs descriptors of its own.
  std::vector<Command> commands;
  for (int i = 0; i < 20; ++i) commands.push_back({"/usr/bin/touch", {dir.path() + "/" + std::to_string(i)}, "true"});
  ExpectOutcome(RunFromShell("exec 3<&- 4<&- 5<&- 6<&- 7<&- 8<&- 9<&-; ulimit -n 8; exec \"$0\" \"$1\"",
                             PercentEncode(CommandDocument(commands))),
                0, "");
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(std::filesystem::exists(dir.path() + "/" + std::to_string(i))) << i;
}

TEST(Faults, CallerWithClosedStandardInputAndErrorStillGetsTheReport) {
  TempDir dir;
  // New pipes land on descriptors 0 and 2 here; they must not become the
  // tool's standard streams by accident.
  const std::string tool = dir.WriteScript("tool", "echo out\necho err >&2\nexit 4\n");
  const ProcessResult r =
      RunFromShell("exec \"$0\" \"$1\" <&- 2>&-", PercentEncode(CommandDocument({{tool, {}, "true"}})));
  ExpectOutcome(r, 4, Report(4, tool + " ", "out\n"));
}

TEST(Faults, ReaderGoneBeforeTheReportKeepsTheToolsStatus) {
  TempDir dir;
  // A report far larger than a pipe holds, written into a pipe whose reader
  // has exited: the write fails with EPIPE instead of killing cmdrunner.
  const std::string out_file = WriteFile(dir, "out.txt", NumberedLines('o', 512 * 1024));
  const std::string tool = dir.WriteScript("tool", "cat '" + out_file + "'\nexit 5\n");
  const std::string word = PercentEncode(CommandDocument({{tool, {}, "true"}}));
  const ProcessResult r =
      RunFromShell("{ \"$0\" \"$1\"; echo $? > '" + dir.path() + "/status'; } | true", word);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.ReadFile("status"), "5\n");
}

TEST(Faults, NonBlockingStandardOutputStillGetsTheWholeReport) {
  TempDir dir;
  // The caller left its pipe non-blocking and reads it slowly: the report,
  // far larger than the pipe holds, must arrive whole all the same.
  const std::string out_text = NumberedLines('o', 512 * 1024);
  const std::string out_file = WriteFile(dir, "out.txt", out_text);
  const std::string tool = dir.WriteScript("tool", "cat '" + out_file + "'\nexit 5\n");
  const std::string word = PercentEncode(CommandDocument({{tool, {}, "true"}}));
  const std::string non_blocking_exec =
      "import fcntl, os, sys; fcntl.fcntl(1, fcntl.F_SETFL, fcntl.fcntl(1, fcntl.F_GETFL) | os.O_NONBLOCK); "
      "os.execv(sys.argv[1], sys.argv[1:])";
  const ProcessResult r = RunFromShell("{ python3 -c '" + non_blocking_exec + "' \"$0\" \"$1\"; echo $? > '" +
                                           dir.path() + "/status'; } | { sleep 0.3; cat; }",
                                       word);
  EXPECT_EQ(r.exit_status, 0);
  ExpectSameBytes(r.out, Report(5, tool + " ", out_text));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.ReadFile("status"), "5\n");
}

TEST(Faults, StoppedAndContinuedWhileDrainingAndWaitingLosesNothing) {
  TempDir dir;
  // Bursts on both streams for about a second, then a quiet half second
  // with both streams closed, while cmdrunner only waits.
  const auto [tool, out_text] =
      InterleavingTool(dir, "bursts", 256 * 1024, 8, "  sleep 0.1\n", "exec >&- 2>&-\nsleep 0.5\nexit 6\n");
  const std::string word = PercentEncode(CommandDocument({{tool, {"x"}, "true"}}));
  const ProcessResult r = RunFromShell(
      "\"$0\" \"$1\" & pid=$!\n"
      "stops=0\n"
      "while [ $stops -lt 40 ]; do\n"
      "  sleep 0.04; kill -STOP $pid 2>/dev/null || break; stops=$((stops + 1))\n"
      "  sleep 0.04; kill -CONT $pid\n"
      "done\n"
      "echo $stops > '" + dir.path() + "/stops'\n"
      "wait $pid\n",
      word);
  EXPECT_EQ(r.exit_status, 6);
  ExpectSameBytes(r.out, Report(6, tool + " x", out_text));
  EXPECT_EQ(r.err, "");
  // The tool runs for well over a second, so there were many stops.
  EXPECT_GE(std::stoi(dir.ReadFile("stops")), 5);
}

// ---- Hostile documents ----

// Runs a raw document word with a CPU-time limit and, outside the sanitizer
// build, an address-space limit: a document that makes cmdrunner spin or
// swell gets it killed, and the exact status then fails the test.
ProcessResult RunLimited(const std::string& word) {
  std::string limits = "ulimit -t 20; ";
#ifndef CMDRUNNER_UNDER_ASAN
  limits += "ulimit -v 262144; ";
#endif
  return RunFromShell(limits + "exec \"$0\" \"$1\"", word);
}

TEST(HostileDocuments, EntitiesAndDocumentTypesAreRefusedAndNothingRuns) {
  TempDir dir;
  const std::string secret = WriteFile(dir, "secret", "TOP-SECRET\n");
  const std::string tool = PercentEncode(dir.RecordingTool("t"));
  auto with_value = [&](const std::string& doctype, const std::string& value) {
    return doctype + "<r><commands><command><tool_path>" + tool + "</tool_path><arguments><a><value>" + value +
           "</value></a></arguments><fail_on_error>true</fail_on_error></command></commands></r>";
  };
  std::string laughs = "<!ENTITY l0 \"lol\">";
  for (int i = 1; i <= 10; ++i) {
    const std::string previous = "&l" + std::to_string(i - 1) + ";";
    std::string tenfold;
    for (int j = 0; j < 10; ++j) tenfold += previous;
    laughs += "<!ENTITY l" + std::to_string(i) + " \"" + tenfold + "\">";
  }
  std::string quadratic_refs;
  for (int i = 0; i < 10000; ++i) quadratic_refs += "&big;";
  const std::string big(10000, 'x');

  const std::vector<std::string> documents = {
      with_value("<!DOCTYPE r [<!ENTITY s SYSTEM \"file://" + secret + "\">]>", "&s;"),
      with_value("<!DOCTYPE r [<!ENTITY s SYSTEM \"" + secret + "\">]>", "&s;"),
      with_value("<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + secret + "\"> %p;]>", "x"),
      with_value("<!DOCTYPE r SYSTEM \"" + secret + "\">", "x"),
      with_value("<!DOCTYPE r PUBLIC \"-//x//y\" \"file://" + secret + "\">", "x"),
      with_value("<!DOCTYPE r [" + laughs + "]>", "&l10;"),
      with_value("<!DOCTYPE r [<!ENTITY big \"" + big + "\">]>", quadratic_refs),
      with_value("<!DOCTYPE r [<!ENTITY % a \"<!ENTITY b 'x'>\"> %a;]>", "&b;"),
      with_value("", "&s;"),      // an entity nobody declared
      with_value("", "a&#0;b"),   // NUL as a character reference
      with_value("", "a&#x0;b"),
  };
  for (const auto& document : documents) {
    SCOPED_TRACE(document.substr(0, 200));
    ExpectOutcome(RunLimited(document), 153, "Fatal Error: No commands specified");
  }
  EXPECT_EQ(dir.ReadFile("record.txt"), "");  // no tool ever ran
}

TEST(HostileDocuments, XIncludeIsNotFollowed) {
  TempDir dir;
  const std::string secret = WriteFile(dir, "secret", "TOP-SECRET\n");
  const std::string document = "<r xmlns:xi=\"http://www.w3.org/2001/XInclude\"><commands><command><tool_path>" +
                               PercentEncode(dir.RecordingTool("t")) +
                               "</tool_path><arguments><a><value><xi:include href=\"" + secret +
                               "\" parse=\"text\"/></value></a><a><value>after</value></a></arguments>"
                               "</command></commands></r>";
  // The include is an element like any other: its value holds no text.
  ExpectOutcome(RunLimited(document), 0, "");
  EXPECT_EQ(dir.ReadFile("record.txt"), "t\n[after]\n");
}

TEST(HostileDocuments, VeryDeepNestingIsRefusedQuicklyBeforeAnythingRuns) {
  TempDir dir;
  const std::string first = "<command><tool_path>" + dir.RecordingTool("first") + "</tool_path></command>";
  // As deep as one argument allows, well-formed; a word without "%" is its
  // own percent encoding.
  std::string open, close;
  for (int i = 0; i < 18000; ++i) {
    open += "<a>";
    close += "</a>";
  }
  const std::string documents[] = {
      "<r><commands>" + first + "<command>" + open + close + "</command></commands></r>",
      open + "<r><commands>" + first + "</commands></r>" + close,
  };
  for (const std::string& document : documents) {
    ExpectOutcome(RunLimited(document), 153, "Fatal Error: No commands specified");
  }
  EXPECT_EQ(dir.ReadFile("record.txt"), "");
}

TEST(HostileDocuments, ShellMetacharactersAndOddBytesArePassedVerbatim) {
  TempDir dir;
  const std::string pwned = dir.path() + "/PWNED";
  const std::vector<std::string> values = {
      "$(touch " + pwned + ")", "`touch " + pwned + "`", "; touch " + pwned, "| touch " + pwned,
      "&& touch " + pwned, "> " + pwned, "*", "~", "$HOME", "${IFS}", "'\"\\", "a\nb", "a\r\nb", "\t",
      "-rf", "--", "%s%n%x", "%2F", "caf\xC3\xA9", "\xE2\x80\xAE" "txt.exe",
  };
  // A tool whose own path is full of shell syntax runs all the same.
  const std::string odd_dir = dir.path() + "/a b;c$(x)`y`";
  std::filesystem::create_directory(odd_dir);
  const std::string tool = odd_dir + "/t";
  std::ofstream(tool) << "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done >> '" << dir.path()
                      << "/record.txt'\n";
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  ExpectOutcome(RunCommands({{tool, values, "true"}}), 0, "");
  std::string expected;
  for (const auto& value : values) expected += "[" + value + "]\n";
  EXPECT_EQ(dir.ReadFile("record.txt"), expected);
  EXPECT_FALSE(std::ifstream(pwned).good());
}

TEST(HostileDocuments, LargestSingleArgumentWithAThousandCommandsRunsThemAllInOrder) {
  TempDir dir;
  const std::string tool = dir.RecordingTool("t");
  ASSERT_EQ(tool.find('%'), std::string::npos);
  // Linux takes at most 32 pages per argument, its final NUL included.
  constexpr size_t kLargestArgument = 128 * 1024 - 1;
  constexpr int kCommands = 1000;
  // Plain text without "%" is its own percent encoding at both layers.
  std::string document = "<?xml version=\"1.0\"?><job><commands>";
  std::string expected;
  for (int i = 0; i < kCommands; ++i) {
    document += "<command><tool_path>" + tool + "</tool_path><arguments><a><value>" + std::to_string(i) +
                "</value></a></arguments></command>";
    expected += "t\n[" + std::to_string(i) + "]\n";
  }
  const std::string end = "</commands></job>";
  ASSERT_LE(document.size() + end.size(), kLargestArgument);
  document += "<!--" + std::string(kLargestArgument - document.size() - end.size() - 7, ' ') + "-->";
  document += end;
  ASSERT_EQ(document.size(), kLargestArgument);
  ExpectOutcome(RunCmdrunner({document}), 0, "");
  EXPECT_EQ(dir.ReadFile("record.txt"), expected);
}

// ---- Load ----

TEST(Load, FortyCmdrunnersAtOnceEachRunTheirCommandsInOrder) {
  TempDir dir;
  constexpr int kRunners = 40, kCommands = 25;
  const std::string tool = dir.WriteScript("append", "echo \"$2\" >> \"$1\"\n");
  std::vector<std::string> words, expected(kRunners);
  for (int runner = 0; runner < kRunners; ++runner) {
    std::vector<Command> commands;
    const std::string file = dir.path() + "/runner-" + std::to_string(runner);
    for (int i = 0; i < kCommands; ++i) {
      const std::string line = std::to_string(runner) + ":" + std::to_string(i);
      commands.push_back({tool, {file, line}, "true"});
      expected[runner] += line + "\n";
    }
    words.push_back(PercentEncode(CommandDocument(commands)));
  }
  std::vector<ProcessResult> results(kRunners);
  {
    std::vector<std::jthread> threads;
    for (int runner = 0; runner < kRunners; ++runner) {
      threads.emplace_back([&, runner] { results[runner] = RunCmdrunner({words[runner]}); });
    }
  }
  for (int runner = 0; runner < kRunners; ++runner) {
    SCOPED_TRACE(runner);
    ExpectOutcome(results[runner], 0, "");
    EXPECT_EQ(dir.ReadFile("runner-" + std::to_string(runner)), expected[runner]);
  }
}

}  // namespace
