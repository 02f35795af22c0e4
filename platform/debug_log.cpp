#include "platform/debug_log.h"

#include <syslog.h>

#include <string>
#include <utility>

namespace platform {

namespace {

void WriteToSyslog(std::string_view message) {
  static const bool opened = [] {
    // No LOG_PERROR: nothing of ours may reach standard error.
    openlog("cmdrunner", LOG_PID | LOG_NDELAY, LOG_USER);
    return true;
  }();
  (void)opened;
  const std::string text(message);
  syslog(LOG_DEBUG, "%s", text.c_str());
}

ScopedDebugLogSink::Sink& CurrentSink() {
  static ScopedDebugLogSink::Sink sink;
  return sink;
}

}  // namespace

void DebugLog(std::string_view message) {
  if (const auto& sink = CurrentSink()) {
    sink(message);
  } else {
    WriteToSyslog(message);
  }
}

ScopedDebugLogSink::ScopedDebugLogSink(Sink sink) : previous_(std::exchange(CurrentSink(), std::move(sink))) {}

ScopedDebugLogSink::~ScopedDebugLogSink() { CurrentSink() = std::move(previous_); }

}  // namespace platform
