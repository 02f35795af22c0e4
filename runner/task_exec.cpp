// App::TaskExecVRD: one tool, started directly, drained, waited for.
#include <string>
#include <vector>

#include "platform/capture_sink.h"
#include "platform/child_process.h"
#include "platform/debug_log.h"
#include "platform/text.h"
#include "runner/app.h"
#include "runner/messages.h"

int32_t App::TaskExecVRD(const std::string& toolPath, const std::vector<std::string>& toolArgs,
                         platform::CaptureBuffer& output, bool normalizeText) {
  try {
    platform::DebugLog(toolPath + " " + platform::Join(toolArgs, " "));
    platform::ChildProcess child;
    output.Clear();
    try {
      child.Launch(toolPath, toolArgs);
    } catch (...) {
      output.Assign(messages::kLaunchFailed);
      return -1;
    }

    // Line endings are replaced as the bytes arrive, which gives the same
    // text as replacing them in the whole text afterwards.
    platform::CaptureBuffer error_text;
    platform::CaptureSink output_sink(output, normalizeText), error_sink(error_text, normalizeText);
    child.Drain(output_sink, error_sink);

    const int32_t status = child.Wait();
    if (status != 0 && output.empty()) output = std::move(error_text);
    return status;
  } catch (const platform::ProcessError& error) {
    output.Assign(error.Name());
    output.Append(platform::kEndOfLine);
    output.Append(platform::kEndOfLine);
    output.Append(error.Message());
    // A failure of the process layer never counts as success.
    return error.ErrorNumber() != 0 ? error.ErrorNumber() : -1;
  }
}
