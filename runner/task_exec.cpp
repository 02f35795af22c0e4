// App::TaskExecVRD: one tool, started directly, drained, waited for.
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/debug_log.h"
#include "platform/text.h"
#include "runner/app.h"

namespace {

constexpr char kLaunchFailed[] = "NSTaskMBS failed on 'launch' command.";

class StringSink final : public platform::StreamSink {
 public:
  explicit StringSink(std::string& text) : text_(text) {}
  void Append(std::string_view bytes) override { text_.append(bytes); }

 private:
  std::string& text_;
};

}  // namespace

int32_t App::TaskExecVRD(const std::string& toolPath, const std::vector<std::string>& toolArgs, std::string& output,
                         bool normalizeText) {
  try {
    platform::DebugLog(toolPath + " " + platform::Join(toolArgs, " "));
    platform::ChildProcess child;
    output.clear();
    try {
      child.Launch(toolPath, toolArgs);
    } catch (...) {
      output = kLaunchFailed;
      return -1;
    }

    std::string error_text;
    StringSink output_sink(output), error_sink(error_text);
    child.Drain(output_sink, error_sink);
    if (normalizeText) {
      output = platform::ReplaceLineEndings(output);
      error_text = platform::ReplaceLineEndings(error_text);
    }

    const int32_t status = child.Wait();
    if (status != 0 && output.empty()) output = std::move(error_text);
    return status;
  } catch (const platform::ProcessError& error) {
    output = error.Name();
    output += platform::kEndOfLine;
    output += platform::kEndOfLine;
    output += error.Message();
    // A failure of the process layer never counts as success.
    return error.ErrorNumber() != 0 ? error.ErrorNumber() : -1;
  }
}
