#include "platform/output_stream.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

void StandardOutputStream::Write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      // A caller may hand us a non-blocking pipe: wait for room rather than
      // drop the rest of the report.
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        pollfd out{STDOUT_FILENO, POLLOUT, 0};
        if (::poll(&out, 1, -1) >= 0 || errno == EINTR) continue;
      }
      return;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace platform
