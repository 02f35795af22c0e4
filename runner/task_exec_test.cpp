#include <sys/stat.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/debug_log.h"
#include "runner/app.h"
#include "runner/test_support.h"

namespace {

using testing_support::TempDir;

struct Launch {
  int32_t status;
  std::string output;
  std::vector<std::string> logged;
};

Launch Exec(const std::string& path, const std::vector<std::string>& args, bool normalize = true,
            std::string output = "left over") {
  Launch result;
  platform::ScopedDebugLogSink sink([&](std::string_view line) { result.logged.emplace_back(line); });
  App app;
  result.status = app.TaskExecVRD(path, args, output, normalize);
  result.output = output;
  return result;
}

Launch Shell(const std::string& script, bool normalize = true) { return Exec("/bin/sh", {"-c", script}, normalize); }

TEST(TaskExec, StatusAndWhichStreamBecomesTheOutput) {
  struct Case {
    const char* script;
    int32_t status;
    const char* output;
  } cases[] = {
      {"echo hello", 0, "hello\n"},
      {"echo oops >&2; exit 1", 1, "oops\n"},
      {"echo out; echo err >&2; exit 2", 2, "out\n"},
      {"echo err >&2", 0, ""},
      {"exit 3", 3, ""},
      {"kill -KILL $$", 137, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const Launch r = Shell(c.script);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.output, c.output);
  }
}

TEST(TaskExec, LineEndingsAreNormalizedOnlyWhenAsked) {
  EXPECT_EQ(Shell("printf 'a\\r\\nb\\rc\\n'").output, "a\nb\nc\n");
  EXPECT_EQ(Shell("printf 'a\\r\\nb\\rc\\n'", false).output, "a\r\nb\rc\n");
  EXPECT_EQ(Shell("printf 'x\\r\\n' >&2; exit 1").output, "x\n");
}

TEST(TaskExec, ArgumentsArriveAsGivenAndEmptyOnesAreLeftOut) {
  const Launch r = Exec("/bin/sh", {"-c", "", "printf '[%s]' \"$0\" \"$@\"", "", "zero", "one two", "", "*", "$x"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "[zero][one two][*][$x]");
  ASSERT_EQ(r.logged.size(), 1u);
  EXPECT_EQ(r.logged[0], "/bin/sh -c  printf '[%s]' \"$0\" \"$@\"  zero one two  * $x");
}

TEST(TaskExec, LogsThePathAndASpaceWithoutArguments) {
  const Launch r = Exec("/bin/true", {});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "");
  EXPECT_EQ(r.logged, std::vector<std::string>{"/bin/true "});
}

TEST(TaskExec, StartFailuresGiveMinusOneAndTheLaunchText) {
  TempDir dir;
  const std::string plain = dir.WriteScript("plain", "exit 0\n");
  chmod(plain.c_str(), 0644);
  const std::string launch_failed = "NSTaskMBS failed on 'launch' command.";
  for (const std::string& path : {dir.path() + "/missing", plain, dir.path(), std::string("relative/tool")}) {
    SCOPED_TRACE(path);
    const Launch r = Exec(path, {"a"});
    EXPECT_EQ(r.status, -1);
    EXPECT_EQ(r.output, launch_failed);
    EXPECT_EQ(r.logged, std::vector<std::string>{path + " a"});
  }
  const Launch nul = Exec("/bin/echo", {std::string("a\0b", 3)});
  EXPECT_EQ(nul.status, -1);
  EXPECT_EQ(nul.output, launch_failed);
}

TEST(TaskExec, BothStreamsDrainWithoutDeadlockAndLoseNothing) {
  // 1 MiB on stderr while stdout stays open, then 1 MiB on stdout; a
  // launcher that read the streams one after the other would hang here.
  const Launch r = Shell("head -c 1048576 /dev/zero | tr '\\0' e >&2; head -c 1048576 /dev/zero | tr '\\0' o; exit 1");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output, std::string(1048576, 'o'));
  const Launch only_err = Shell("head -c 3000000 /dev/zero | tr '\\0' e >&2; exit 9");
  EXPECT_EQ(only_err.status, 9);
  EXPECT_EQ(only_err.output, std::string(3000000, 'e'));
}

TEST(TaskExec, WaitsForEveryHolderOfTheStreams) {
  // The tool ends at once; its background child writes later through the
  // inherited stdout, and that text still belongs to the output.
  const Launch r = Shell("(sleep 0.3; echo late) & echo early; exit 6");
  EXPECT_EQ(r.status, 6);
  EXPECT_EQ(r.output, "early\nlate\n");
}

}  // namespace
