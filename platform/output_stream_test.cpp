#include "platform/output_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <thread>

#include <gtest/gtest.h>

namespace {

// Runs the writer with descriptor 1 on a pipe and returns what came out,
// reading all the while so the writer can put more than a pipe holds.
template <class Writer>
std::string CaptureStandardOutput(Writer write) {
  int fds[2];
  EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
  const int saved = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  std::string captured;
  std::thread reader([&] {
    char chunk[65536];
    ssize_t n;
    while ((n = read(fds[0], chunk, sizeof chunk)) > 0) captured.append(chunk, static_cast<size_t>(n));
  });
  dup2(fds[1], STDOUT_FILENO);
  close(fds[1]);
  write();
  dup2(saved, STDOUT_FILENO);  // the last write end goes, the reader sees end of file
  close(saved);
  reader.join();
  close(fds[0]);
  return captured;
}

TEST(StandardOutputStream, WritePartsPutsOutEveryPartInOrder) {
  std::string large(3 << 20, 'x');  // far more than a pipe takes in one write
  for (size_t i = 0; i < large.size(); i += 4099) large[i] = static_cast<char>('a' + i % 26);
  const std::string_view parts[] = {"head\n", "", large, "|", "tail"};
  platform::StandardOutputStream out;
  EXPECT_EQ(CaptureStandardOutput([&] { out.WriteParts(parts); }), "head\n" + large + "|tail");
  EXPECT_EQ(CaptureStandardOutput([&] { out.WriteParts({}); }), "");
}

TEST(OutputStream, WritePartsDefaultsToOneWriteOfTheJoinedText) {
  class Recording final : public platform::OutputStream {
   public:
    void Write(std::string_view text) override { written += "[" + std::string(text) + "]"; }
    std::string written;
  } recording;
  const std::string_view parts[] = {"a", "bc"};
  recording.WriteParts(parts);
  EXPECT_EQ(recording.written, "[abc]");
}

}  // namespace
