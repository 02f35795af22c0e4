#pragma once

#include <span>
#include <string_view>

#include "platform/capture_buffer.h"
#include "platform/child_process.h"
#include "platform/text.h"

namespace platform {

// Captures a stream into a CaptureBuffer: reads land in the buffer itself,
// and when asked, each chunk's line endings are replaced (as
// ReplaceLineEndings does for the whole text) the moment it arrives, while
// it is still in the cache.
class CaptureSink final : public StreamSink {
 public:
  CaptureSink(CaptureBuffer& text, bool replace_line_endings) : text_(text), replace_(replace_line_endings) {}

  void Append(std::string_view bytes) override;
  std::span<char> Room() override;
  void Commit(size_t count) override;

 private:
  CaptureBuffer& text_;
  bool replace_;
  LineEndingReplacer replacer_;
};

}  // namespace platform
