#pragma once

#include <span>
#include <string_view>

namespace platform {

// Where the program's messages go.
class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // Writes the text as it stands, adding no line end.
  virtual void Write(std::string_view text) = 0;
  // Writes the parts one after the other, as one text. The default joins
  // them and makes one Write of it; a stream that can write them without
  // joining them first (a part can be large) does so.
  virtual void WriteParts(std::span<const std::string_view> parts);
};

// The process's standard output, unbuffered: each Write goes straight to
// descriptor 1, so nothing is left behind when the process ends, and it
// returns only when all of the text is written, also to a non-blocking pipe.
// A reader that has gone away (closed pipe, closed descriptor) is not an
// error for us: the exit status still tells the outcome.
class StandardOutputStream final : public OutputStream {
 public:
  void Write(std::string_view text) override;
  // One gathered write when the descriptor takes it all at once, so a
  // reader sees the text arrive whole.
  void WriteParts(std::span<const std::string_view> parts) override;
};

}  // namespace platform
