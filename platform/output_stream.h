#pragma once

#include <string_view>

namespace platform {

// Where the program's messages go.
class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // Writes the text as it stands, adding no line end.
  virtual void Write(std::string_view text) = 0;
};

// The process's standard output, unbuffered: each Write goes straight to
// descriptor 1, so nothing is left behind when the process ends, and it
// returns only when all of the text is written, also to a non-blocking pipe.
// A reader that has gone away (closed pipe, closed descriptor) is not an
// error for us: the exit status still tells the outcome.
class StandardOutputStream final : public OutputStream {
 public:
  void Write(std::string_view text) override;
};

}  // namespace platform
