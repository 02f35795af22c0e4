// Runs the built cmdrunner as a caller would and checks what the caller sees:
// the exit status, the exact bytes on standard output, an empty standard
// error, and what each tool really received.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runner/test_support.h"

namespace {

using testing_support::Command;
using testing_support::CommandDocument;
using testing_support::ExpectOutcome;
using testing_support::PercentEncode;
using testing_support::ProcessResult;
using testing_support::RunCmdrunner;
using testing_support::RunCommands;
using testing_support::RunDocument;
using testing_support::RunProgram;
using testing_support::TempDir;

TEST(EndToEnd, ArgumentCountIsCheckedBeforeAnythingIsDecoded) {
  const std::string no_args = "Fatal Error: No arguments were specified.";
  const std::string too_many = "Fatal Error: Invalid argument count.";
  ExpectOutcome(RunCmdrunner({}), 155, no_args);
  ExpectOutcome(RunCmdrunner({"", " \t", "\n"}), 155, no_args);
  ExpectOutcome(RunCmdrunner({"a", "b"}), 154, too_many);
  ExpectOutcome(RunCmdrunner({"%3Ca%3E", " ", "x"}), 154, too_many);
}

TEST(EndToEnd, BlankArgumentsAroundTheDocumentAreIgnored) {
  TempDir dir;
  const std::string word = PercentEncode(CommandDocument({{dir.RecordingTool("t"), {"x"}, ""}}));
  ExpectOutcome(RunCmdrunner({"", word, "  "}), 0, "");
  EXPECT_EQ(dir.ReadFile("record.txt"), "t\n[x]\n");
}

TEST(EndToEnd, DocumentsWithoutCommandsAreRefused) {
  const std::string message = "Fatal Error: No commands specified";
  const char* documents[] = {
      "not xml at all",
      "<r><commands>",                                               // not well-formed
      "<commands><command><tool_path>/bin/true</tool_path></command></commands>",  // commands is the root
      "<r><x><commands><command><tool_path>/bin/true</tool_path></command></commands></x></r>",
      "<r><Commands/></r>",                                          // element names match exactly
      "<!DOCTYPE r [<!ENTITY e \"x\">]><r><commands/></r>",          // no document type declarations
      "<?xml version=\"1.0\"?><!DOCTYPE r SYSTEM \"/etc/passwd\"><r><commands/></r>",
  };
  for (const char* document : documents) {
    SCOPED_TRACE(document);
    ExpectOutcome(RunDocument(document), 153, message);
  }
  // A decoded text that is a single space, and one with a NUL before valid XML.
  ExpectOutcome(RunCmdrunner({"%20"}), 153, message);
  ExpectOutcome(RunCmdrunner({"%3Cr%3E%3Ccommands%2F%3E%3C%2Fr%3E%00garbage"}), 153, message);
}

TEST(EndToEnd, EmptyCommandsEndsQuietly) { ExpectOutcome(RunDocument("<r><commands/></r>"), 0, ""); }

TEST(EndToEnd, RunsEveryCommandInOrderWithExactArguments) {
  TempDir dir;
  const std::string a = dir.RecordingTool("a"), b = dir.RecordingTool("b");
  const std::string document = "<?xml version=\"1.0\"?><job><commands>"
                               "<command><tool_path>" + PercentEncode(a) + "</tool_path><arguments>"
                               "<i><value>one%20word</value></i>"
                               "<i><value>a%2Bb+c</value></i>"
                               "<i><value></value></i><i/>"
                               "<i><value>%24HOME%20%3B%20%60id%60%20%7C%20%26</value></i>"
                               "<i><value>caf%C3%A9%25</value></i>"
                               "</arguments></command>"
                               "text <!-- a comment --><other><tool_path>/nonexistent</tool_path></other>"
                               "<CoMmAnD><tool_path>" + PercentEncode(b) + "</tool_path></CoMmAnD>"
                               "</commands></job>";
  ExpectOutcome(RunDocument(document), 0, "");
  EXPECT_EQ(dir.ReadFile("record.txt"), "a\n[one word]\n[a+b+c]\n[$HOME ; `id` | &]\n[café%]\n" "b\n");
}

TEST(EndToEnd, MissingToolStopsTheRunWithItsDecodedPath) {
  TempDir dir;
  const std::string missing = dir.path() + "/no such tool";
  const ProcessResult r = RunCommands({{dir.RecordingTool("first"), {}, ""},
                                       {missing, {}, "true"},
                                       {dir.RecordingTool("third"), {}, ""}});
  ExpectOutcome(r, 152, "Fatal Error: Helper tool '" + missing + "' could not be found on this system.");
  EXPECT_EQ(dir.ReadFile("record.txt"), "first\n");
}

TEST(EndToEnd, CommandWithoutToolPathNamesNothing) {
  ExpectOutcome(RunDocument("<r><commands><command/></commands></r>"), 152,
                "Fatal Error: Helper tool '' could not be found on this system.");
}

TEST(EndToEnd, ToolPathWithNulNamesNothing) {
  // The decoded path "/bin/true<NUL>x" must not be cut short to /bin/true.
  const ProcessResult r = RunDocument("<r><commands><command><tool_path>%2Fbin%2Ftrue%00x</tool_path></command></commands></r>");
  ExpectOutcome(r, 152, std::string("Fatal Error: Helper tool '/bin/true") + '\0' + "x' could not be found on this system.");
}

TEST(EndToEnd, FailureIsSilentUnlessFailOnErrorIsTrue) {
  TempDir dir;
  const std::string tool = dir.WriteScript("fail", "echo \"out $1\"\necho err >&2\nexit 3\n");
  for (const char* flag : {"", "false", "0", "no", "OFF"}) {
    SCOPED_TRACE(flag);
    ExpectOutcome(RunCommands({{tool, {"x"}, flag}}), 0, "");
  }
  const std::string after = dir.RecordingTool("after");
  const ProcessResult r = RunCommands({{tool, {"x", "y z"}, "true"}, {after, {}, ""}});
  ExpectOutcome(r, 3, "Fatal Error: Command Error\nError Code: 3\nCommand: " + tool + " x y z\nResult: out x\n");
  EXPECT_EQ(dir.ReadFile("record.txt"), "");
}

TEST(EndToEnd, ReportShowsEveryValueAndTheErrorTextWhenStdoutIsEmpty) {
  TempDir dir;
  const std::string tool = dir.WriteScript("fail", "printf 'line1\\r\\nline2\\rline3' >&2\nexit 4\n");
  // No arguments: the command line ends in one space.
  ExpectOutcome(RunCommands({{tool, {}, "1"}}), 4,
                "Fatal Error: Command Error\nError Code: 4\nCommand: " + tool + " \nResult: line1\nline2\nline3");
  // An empty value is no argument for the tool but one more space in the report.
  ExpectOutcome(RunCommands({{tool, {"a", "", "b"}, "yes"}}), 4,
                "Fatal Error: Command Error\nError Code: 4\nCommand: " + tool + " a  b\nResult: line1\nline2\nline3");
}

// As ExpectOutcome, but a difference in a large output is told by its size
// and its first differing byte, not by printing megabytes.
void ExpectLargeOutcome(const ProcessResult& r, int status, const std::string& out) {
  EXPECT_EQ(r.exit_status, status);
  EXPECT_EQ(r.err, "");
  if (r.out == out) return;
  const auto difference = std::mismatch(r.out.begin(), r.out.end(), out.begin(), out.end()).first - r.out.begin();
  ADD_FAILURE() << r.out.size() << " bytes where " << out.size() << " were expected; first difference at byte "
                << difference;
}

TEST(EndToEnd, LargeOutputReachesTheReportWholeWithItsLineEndingsReplaced) {
  // Several MiB, so the text arrives in many reads that cut through CRLF
  // pairs, runs of CR and runs of LF at every kind of place.
  TempDir dir;
  std::string text, replaced;
  for (int i = 0; text.size() < (5u << 20); ++i) {
    const std::string line = "line " + std::to_string(i) + std::string(static_cast<size_t>(i % 37), 'x');
    const char* const ending = i % 4 == 0 ? "\r\n" : i % 4 == 1 ? "\r" : i % 4 == 2 ? "\n" : "\r\r\n\n";
    text += line + ending;
    replaced += line + (i % 4 == 3 ? "\n\n\n" : "\n");
  }
  std::ofstream(dir.path() + "/text", std::ios::binary) << text;
  const std::string tool = dir.WriteScript("print", "cat '" + dir.path() + "/text'\nexit 6\n");
  ExpectLargeOutcome(RunCommands({{tool, {}, "true"}}), 6,
                     "Fatal Error: Command Error\nError Code: 6\nCommand: " + tool + " \nResult: " + replaced);
}

TEST(EndToEnd, LimitedAddressSpaceStillCapturesEverything) {
  // Under a limit on its address space cmdrunner reserves less for a
  // capture, and a larger output must still arrive whole.
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#endif
  TempDir dir;
  const std::string tool = dir.WriteScript("print", "head -c 100000000 /dev/zero | tr '\\0' x >&2\nexit 2\n");
  const std::string word = PercentEncode(CommandDocument({{tool, {}, "true"}}));
  const ProcessResult r = RunProgram({"/bin/sh", "-c", "ulimit -v 600000; exec \"$0\" \"$1\"", CMDRUNNER_PATH, word});
  ExpectLargeOutcome(r, 2, "Fatal Error: Command Error\nError Code: 2\nCommand: " + tool + " \nResult: " +
                               std::string(100000000, 'x'));
}

TEST(EndToEnd, ToolThatCannotStartReportsTheLaunchFailure) {
  TempDir dir;
  const std::string not_executable = dir.path() + "/plain";
  { int fd = open(not_executable.c_str(), O_CREAT | O_WRONLY, 0644); close(fd); }
  for (const std::string& path : {not_executable, dir.path()}) {
    SCOPED_TRACE(path);
    ExpectOutcome(RunCommands({{path, {}, ""}}), 0, "");
    ExpectOutcome(RunCommands({{path, {"a"}, "true"}}), 255,
                  "Fatal Error: Command Error\nError Code: -1\nCommand: " + path +
                      " a\nResult: NSTaskMBS failed on 'launch' command.");
  }
}

TEST(EndToEnd, ArgumentWithNulIsNeverPassedCutShort) {
  TempDir dir;
  const std::string tool = dir.RecordingTool("t");
  const std::string document = "<r><commands><command><tool_path>" + PercentEncode(tool) +
                               "</tool_path><arguments><a><value>rm%00-rf</value></a></arguments>"
                               "<fail_on_error>true</fail_on_error></command></commands></r>";
  const ProcessResult r = RunDocument(document);
  EXPECT_EQ(r.exit_status, 255);
  EXPECT_EQ(r.out, "Fatal Error: Command Error\nError Code: -1\nCommand: " + tool + " " + std::string("rm\0-rf", 6) +
                       "\nResult: NSTaskMBS failed on 'launch' command.");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(dir.ReadFile("record.txt"), "");
}

TEST(EndToEnd, InnerValuesAreDecodedTwice) {
  TempDir dir;
  const std::string tool = dir.RecordingTool("t");
  // "%252F" in the document word becomes "%2F" in the document, then "/".
  const std::string document = "<r><commands><command><tool_path>" + PercentEncode(tool) +
                               "</tool_path><arguments><a><value>a%2Fb</value></a></arguments></command></commands></r>";
  ExpectOutcome(RunCmdrunner({PercentEncode(document)}), 0, "");
  EXPECT_EQ(dir.ReadFile("record.txt"), "t\n[a/b]\n");
}

TEST(EndToEnd, SignalledToolReportsOneHundredTwentyEightPlusTheSignal) {
  TempDir dir;
  const std::string tool = dir.WriteScript("killed", "kill -TERM $$\n");
  ExpectOutcome(RunCommands({{tool, {}, "true"}}), 143,
                "Fatal Error: Command Error\nError Code: 143\nCommand: " + tool + " \nResult: ");
}

TEST(EndToEnd, ToolSeesOnlyStandardDescriptorsAndCleanSignals) {
  TempDir dir;
  // An inheritable descriptor the caller forgot to close.
  const int stray = open("/dev/null", O_RDONLY);
  ASSERT_GT(stray, 2);
  // exec, so that the shell keeps no saved descriptor of its own; ls's
  // descriptor 3 is the folder it reads.
  const std::string list_fds = "exec ls /proc/self/fd > '" + dir.path() + "/fds'";
  const std::string signals = "exec grep -E '^Sig(Blk|Ign)' /proc/self/status > '" + dir.path() + "/signals'";
  ExpectOutcome(RunCommands({{"/bin/sh", {"-c", list_fds}, "true"}, {"/bin/sh", {"-c", signals}, "true"}}), 0, "");
  close(stray);
  EXPECT_EQ(dir.ReadFile("fds"), "0\n1\n2\n3\n");
  EXPECT_EQ(dir.ReadFile("signals"), "SigBlk:\t0000000000000000\nSigIgn:\t0000000000000000\n");
}

TEST(EndToEnd, CallerIgnoringSigchldDoesNotHideTheStatus) {
  TempDir dir;
  const std::string tool = dir.WriteScript("fail", "exit 7\n");
  const std::string word = PercentEncode(CommandDocument({{tool, {}, "true"}}));
  const ProcessResult r = RunProgram({"/bin/sh", "-c", "trap '' CHLD; exec \"$0\" \"$1\"", CMDRUNNER_PATH, word});
  ExpectOutcome(r, 7, "Fatal Error: Command Error\nError Code: 7\nCommand: " + tool + " \nResult: ");
}

TEST(EndToEnd, NoPipesLeftIsAFailureNotASuccess) {
  TempDir dir;
  const std::string word = PercentEncode(CommandDocument({{"/bin/true", {}, "true"}}));
  const ProcessResult r = RunProgram({"/bin/sh", "-c", "exec 3<&-; ulimit -n 4; exec \"$0\" \"$1\"", CMDRUNNER_PATH, word});
  EXPECT_EQ(r.exit_status, 255);
  EXPECT_EQ(r.out.rfind("Fatal Error: Command Error\nError Code: -1\nCommand: /bin/true \nResult: PipeError\n\npipe2 failed: ", 0), 0u) << r.out;
  EXPECT_EQ(r.err, "");
}

TEST(EndToEnd, StandardStreamsTheCallerClosedAreOpenedOnDevNull) {
  TempDir dir;
  // A tool inherits cmdrunner's standard input: never a closed descriptor
  // that some file of cmdrunner's could have taken.
  const std::string script = "exec readlink /proc/self/fd/0 > '" + dir.path() + "/stdin'";
  const std::string word = PercentEncode(CommandDocument({{"/bin/sh", {"-c", script}, "true"}}));
  const ProcessResult r = RunProgram({"/bin/sh", "-c", "exec \"$0\" \"$1\" <&- >&-", CMDRUNNER_PATH, word});
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(dir.ReadFile("stdin"), "/dev/null\n");
}

TEST(EndToEnd, ClosedStandardOutputDoesNotChangeTheStatus) {
  TempDir dir;
  const std::string tool = dir.WriteScript("fail", "exit 5\n");
  const std::string word = PercentEncode(CommandDocument({{tool, {}, "true"}}));
  const ProcessResult r = RunProgram({"/bin/sh", "-c", "exec \"$0\" \"$1\" >&-", CMDRUNNER_PATH, word});
  EXPECT_EQ(r.exit_status, 5);
  EXPECT_EQ(r.err, "");
}

}  // namespace
