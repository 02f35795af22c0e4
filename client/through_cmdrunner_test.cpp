// Plain values, through the client's word and the real cmdrunner, to what
// the tool really receives.
#include <gtest/gtest.h>

#include <cmdrunner/client.h>
#include <spawn.h>
#include <sys/stat.h>

#include <cerrno>

#include "client/test_support.h"

namespace {

using client_testing::LinkRecorder;
using client_testing::ReadRecords;
using client_testing::RunProgram;
using client_testing::TempDir;
using cmdrunner::Batch;
using cmdrunner::Command;

std::vector<std::string> WithoutEmpty(const std::string& tool, const std::vector<std::string>& values) {
  std::vector<std::string> argv{tool};
  for (const auto& v : values) {
    if (!v.empty()) argv.push_back(v);
  }
  return argv;
}

TEST(ThroughCmdrunnerTest, AwkwardTextsReachTheToolUnchanged) {
  TempDir dir;
  // The tool paths themselves are awkward too.
  const std::string first = dir / "a tool+100%&<\"\xC3\xA9\">", second = dir / "line\nbreak 'tool'";
  LinkRecorder(first);
  LinkRecorder(second);
  const std::vector<std::string> values = {
      "with space", "a+b", "100%", "%41", "a&b", "<tag>", "\"double\" 'single'", "line1\nline2", "cr\r\nlf",
      "tab\t",      "",    "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x99\x82", "]]>", "  padded  ", "--help", "$(echo x)", "*"};
  const Batch batch = {Command{first, values, true}, Command{second, {"", "x", ""}, true}};
  const auto word = cmdrunner::EncodeWord(batch);
  ASSERT_TRUE(word) << word.error();

  const auto result = RunProgram(CMDRUNNER_PATH, {*word}, "", {"ARGV_RECORD=" + dir / "record"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  const auto records = ReadRecords(dir / "record");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], WithoutEmpty(first, values));
  EXPECT_EQ(records[1], WithoutEmpty(second, {"x"}));
}

TEST(ThroughCmdrunnerTest, FailingToolStopsTheBatchWithItsReport) {
  TempDir dir;
  const std::string failing = dir / "exit3", never = dir / "never";
  LinkRecorder(failing);
  LinkRecorder(never);
  const Batch batch = {Command{failing, {"a b", "", "c&d"}, true}, Command{never, {}, true}};
  const auto result = RunProgram(CMDRUNNER_PATH, {*cmdrunner::EncodeWord(batch)}, "", {"ARGV_RECORD=" + dir / "rec"});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.out, "Fatal Error: Command Error\nError Code: 3\nCommand: " + failing + " a b  c&d\nResult: ");
  EXPECT_EQ(ReadRecords(dir / "rec").size(), 1u);
}

// kMaxWordBytes is the longest word Linux passes: one byte more and no
// program can be started with it.
TEST(ThroughCmdrunnerTest, LongestWordStillRuns) {
  TempDir dir;
  const std::string tool = dir / "tool";
  LinkRecorder(tool);
  const auto length_with = [&](size_t n) {
    return cmdrunner::EncodeWord({Command{tool, {std::string(n, 'a')}, true}})->size();
  };
  const size_t n = cmdrunner::kMaxWordBytes - length_with(0);
  ASSERT_EQ(length_with(n), cmdrunner::kMaxWordBytes);
  EXPECT_FALSE(cmdrunner::EncodeWord({Command{tool, {std::string(n + 1, 'a')}, true}}));

  const auto result =
      RunProgram(CMDRUNNER_PATH, {*cmdrunner::EncodeWord({Command{tool, {std::string(n, 'a')}, true}})}, "",
                 {"ARGV_RECORD=" + dir / "rec"});
  EXPECT_EQ(result.status, 0) << result.out;
  ASSERT_EQ(ReadRecords(dir / "rec").size(), 1u);
  EXPECT_EQ(ReadRecords(dir / "rec")[0][1], std::string(n, 'a'));

  std::string too_long(cmdrunner::kMaxWordBytes + 1, 'a');
  char* argv[] = {const_cast<char*>("true"), too_long.data(), nullptr};
  char* envp[] = {nullptr};
  pid_t pid;
  EXPECT_EQ(posix_spawn(&pid, "/bin/true", nullptr, nullptr, argv, envp), E2BIG);
}

}  // namespace

namespace {

TEST(ClientExampleTest, MakesTheFolderThroughCmdrunner) {
  client_testing::TempDir dir;
  const std::string folder = dir / "my folder & more";
  const auto result = client_testing::RunProgram(CLIENT_EXAMPLE_PATH, {CMDRUNNER_PATH, folder});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "all 3 commands ran; " + folder + " is ready\n");
  EXPECT_EQ(result.err, "");
  struct stat info;
  ASSERT_EQ(::stat(folder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 07777, 0750u);
}

}  // namespace
