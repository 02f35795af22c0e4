#include "platform/capture_sink.h"

#include <cstring>

namespace platform {

namespace {

// Reads ask for at least this much room; a pipe rarely holds more.
constexpr size_t kLeastRoom = 64 * 1024;

}  // namespace

void CaptureSink::Append(std::string_view bytes) {
  if (bytes.empty()) return;
  std::memcpy(text_.Room(bytes.size()).data(), bytes.data(), bytes.size());
  Commit(bytes.size());
}

std::span<char> CaptureSink::Room() { return text_.Room(kLeastRoom); }

void CaptureSink::Commit(size_t count) {
  if (replace_) count = replacer_.Replace(text_.Room(count).data(), count);
  text_.Commit(count);
}

}  // namespace platform
