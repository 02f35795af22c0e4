#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unique_fd.h"

namespace platform {

// The process layer failed outside the start and the reads (no pipe could be
// made, the wait failed). Carries a short name and a message, and an error
// number that is 0 unless the layer has a number of its own to report.
class ProcessError : public std::runtime_error {
 public:
  ProcessError(std::string name, const std::string& message, int error_number = 0)
      : std::runtime_error(message), name_(std::move(name)), error_number_(error_number) {}
  const std::string& Name() const { return name_; }
  std::string Message() const { return what(); }
  int ErrorNumber() const { return error_number_; }

 private:
  std::string name_;
  int error_number_;
};

// The tool could not be started.
class LaunchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Receives a captured stream's bytes as they arrive.
class StreamSink {
 public:
  virtual ~StreamSink() = default;
  virtual void Append(std::string_view bytes) = 0;

  // Where the next read puts its bytes, at least one byte of it. A sink
  // that keeps the bytes offers its own memory here, so they are read
  // straight to where they stay; the default is a chunk of scratch memory
  // whose bytes are passed on to Append.
  virtual std::span<char> Room();
  // The first count bytes of the last Room were read.
  virtual void Commit(size_t count);

 private:
  std::unique_ptr<char[]> scratch_;
};

// One tool run as a child process with its standard output and standard
// error on two pipes of our own. Standard input, environment and working
// directory are inherited; no shell and no search path are involved.
class ChildProcess {
 public:
  // Makes the two pipes. Throws ProcessError when they cannot be made.
  ChildProcess();
  // A started tool that was never waited for is reaped here, after its
  // pipes are closed.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the executable at the absolute path with these arguments; empty
  // entries are left out. The tool gets descriptors 0, 1 and 2 only, an
  // empty signal mask and default signal dispositions. Throws LaunchError
  // when it cannot be started, also for a NUL byte in the path or in an
  // argument (it would cut the word short). Our write ends are closed once
  // it runs, so end of file comes when the tool and its heirs close theirs.
  void Launch(const std::string& path, const std::vector<std::string>& arguments);

  // Reads both streams together until both reach end of file, so that a
  // tool that fills one pipe is never held up by the other. A stream whose
  // read fails keeps what arrived before the failure.
  void Drain(StreamSink& output, StreamSink& error);

  // Waits for the tool to end: its exit status, or 128 + the signal number
  // when a signal ended it. Throws ProcessError when the wait fails.
  int Wait();

 private:
  UniqueFd output_read_, output_write_, error_read_, error_write_;
  pid_t pid_ = -1;
};

// Called once when the program starts: SIGCHLD back to its default so a
// caller that ignores it cannot make our waits fail, and SIGPIPE ignored so
// a reader that went away cannot kill us while we write our report. Tools
// get default dispositions whatever this sets.
void PrepareProcessSignals();

}  // namespace platform
