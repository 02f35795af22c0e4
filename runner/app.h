#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/capture_buffer.h"
#include "platform/output_stream.h"

// The cmdrunner application: takes the one percent-encoded command document,
// runs each command's tool in document order and reports by exit status and
// at most one message on standard output.
class App {
 public:
  App() = default;
  virtual ~App() = default;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Runs the whole job. args[0] is the program's own path. Returns the exit
  // status: 0, -1, -101 to -104, or a failing tool's status.
  int32_t Run(const std::vector<std::string>& args);

  // Runs one tool to its end. output receives its standard output (or its
  // standard error when it failed without standard output), or the
  // launcher's own failure text; a buffer of our own, since a tool's output
  // can be larger than a copy of it should cost. Returns the tool's status,
  // or -1 when it could not be started or the process layer failed.
  virtual int32_t TaskExecVRD(const std::string& toolPath, const std::vector<std::string>& toolArgs,
                              platform::CaptureBuffer& output, bool normalizeText);

  // Where Run writes its messages; set when Run starts.
  std::shared_ptr<platform::OutputStream> xOut;

 protected:
  // The stream that Run sets xOut to; tests hand in their own.
  virtual std::shared_ptr<platform::OutputStream> OpenStandardOutput();
};
