#include "platform/child_process.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class Collect final : public platform::StreamSink {
 public:
  void Append(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

struct Outcome {
  int status;
  std::string out, err;
};

Outcome RunTool(const std::string& path, const std::vector<std::string>& args) {
  platform::ChildProcess child;
  child.Launch(path, args);
  Collect out, err;
  child.Drain(out, err);
  return {child.Wait(), out.text, err.text};
}

TEST(ChildProcess, CapturesBothStreamsAndTheStatus) {
  const Outcome r = RunTool("/bin/sh", {"-c", "printf out; printf err >&2; exit 42"});
  EXPECT_EQ(r.status, 42);
  EXPECT_EQ(r.out, "out");
  EXPECT_EQ(r.err, "err");
}

TEST(ChildProcess, InterleavedLargeStreamsAreCompleteAndInOrder) {
  // Both streams written in alternation, far more than a pipe holds.
  const Outcome r = RunTool("/bin/sh", {"-c", "i=0; while [ $i -lt 2000 ]; do echo \"o$i\"; echo \"e$i\" >&2; "
                                              "i=$((i+1)); done; head -c 200000 /dev/zero >&2"});
  std::string out, err;
  for (int i = 0; i < 2000; ++i) {
    out += "o" + std::to_string(i) + "\n";
    err += "e" + std::to_string(i) + "\n";
  }
  err += std::string(200000, '\0');
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, out);
  EXPECT_EQ(r.err, err);
}

TEST(ChildProcess, LaunchFailuresThrowAndLeaveNothingBehind) {
  for (const std::string& path : {std::string("/no/such/tool"), std::string("/tmp"), std::string("/etc/passwd"),
                                  std::string("/bin/sh\0x", 9)}) {
    platform::ChildProcess child;
    EXPECT_THROW(child.Launch(path, {}), platform::LaunchError) << path;
  }
  platform::ChildProcess child;
  EXPECT_THROW(child.Launch("/bin/echo", {std::string("a\0b", 3)}), platform::LaunchError);
}

TEST(ChildProcess, WaitWithoutALaunchIsAProcessError) {
  platform::ChildProcess child;
  EXPECT_THROW(child.Wait(), platform::ProcessError);
}

TEST(ChildProcess, ToolThatClosesStdoutEarlyKeepsWritingStderr) {
  const Outcome r = RunTool("/bin/sh", {"-c", "echo first; exec 1>&-; sleep 0.1; echo second >&2; exit 1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "first\n");
  EXPECT_EQ(r.err, "second\n");
}

}  // namespace
