#pragma once

#include <functional>
#include <string_view>

namespace platform {

// Writes one diagnostic message to the debug log: syslog, ident "cmdrunner",
// priority LOG_DEBUG. Never standard output or standard error.
void DebugLog(std::string_view message);

// Sends the debug log elsewhere while it lives (tests read what was logged);
// the previous destination comes back when it goes.
class ScopedDebugLogSink {
 public:
  using Sink = std::function<void(std::string_view)>;
  explicit ScopedDebugLogSink(Sink sink);
  ~ScopedDebugLogSink();
  ScopedDebugLogSink(const ScopedDebugLogSink&) = delete;
  ScopedDebugLogSink& operator=(const ScopedDebugLogSink&) = delete;

 private:
  Sink previous_;
};

}  // namespace platform
