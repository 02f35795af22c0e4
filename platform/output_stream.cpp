#include "platform/output_stream.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

void StandardOutputStream::Write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace platform
