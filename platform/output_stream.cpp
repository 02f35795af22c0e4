#include "platform/output_stream.h"

#include <poll.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>
#include <vector>

namespace platform {

namespace {

// After a failed write: whether to try again. A caller may hand us a
// non-blocking pipe: wait for room rather than drop the rest of the report.
bool ShouldRetry() {
  if (errno == EINTR) return true;
  if (errno == EAGAIN || errno == EWOULDBLOCK) {
    pollfd out{STDOUT_FILENO, POLLOUT, 0};
    return ::poll(&out, 1, -1) >= 0 || errno == EINTR;
  }
  return false;
}

}  // namespace

void OutputStream::WriteParts(std::span<const std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) text += part;
  Write(text);
}

void StandardOutputStream::Write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
    if (n < 0) {
      if (ShouldRetry()) continue;
      return;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
}

void StandardOutputStream::WriteParts(std::span<const std::string_view> parts) {
  std::vector<iovec> pending;
  pending.reserve(parts.size());
  for (const std::string_view part : parts) {
    if (!part.empty()) pending.push_back({const_cast<char*>(part.data()), part.size()});
  }
  size_t first = 0;
  while (first < pending.size()) {
    const int count = static_cast<int>(std::min<size_t>(pending.size() - first, IOV_MAX));
    const ssize_t n = ::writev(STDOUT_FILENO, pending.data() + first, count);
    if (n < 0) {
      if (ShouldRetry()) continue;
      return;
    }
    // Skip what was written, however it fell across the parts.
    auto written = static_cast<size_t>(n);
    while (first < pending.size() && written >= pending[first].iov_len) written -= pending[first++].iov_len;
    if (written > 0) {
      pending[first].iov_base = static_cast<char*>(pending[first].iov_base) + written;
      pending[first].iov_len -= written;
    }
  }
}

}  // namespace platform
