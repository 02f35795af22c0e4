// The whole road of a command document through Run: the outer percent
// decoding, LoadXMLStr, and the walk over the commands with their second
// decoding, up to the launch. The launcher is replaced by a recorder, so no
// tool is ever started; the input is the one command-line word.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/debug_log.h"
#include "platform/output_stream.h"
#include "platform/text.h"
#include "runner/app.h"

namespace {

class CapturedOutput final : public platform::OutputStream {
 public:
  void Write(std::string_view text) override {
    written.append(text);
    ++writes;
  }
  std::string written;
  int writes = 0;
};

class RecordingApp final : public App {
 public:
  int32_t TaskExecVRD(const std::string& toolPath, const std::vector<std::string>& toolArgs,
                      platform::CaptureBuffer& output, bool normalizeText) override {
    FUZZ_CHECK(normalizeText);
    FUZZ_CHECK(output.empty());
    // Only an existing item, by its absolute path, ever reaches the launcher.
    FUZZ_CHECK(!toolPath.empty() && toolPath.front() == '/');
    FUZZ_CHECK(toolPath.find('\0') == std::string::npos);
    last_path = toolPath;
    last_args = toolArgs;
    ++calls;
    output.Assign("captured");
    // Every third tool fails, so that fail_on_error and the report are reached too.
    return calls % 3 == 0 ? kFailure : 0;
  }

  static constexpr int32_t kFailure = 7;
  std::shared_ptr<CapturedOutput> out = std::make_shared<CapturedOutput>();
  std::string last_path;
  std::vector<std::string> last_args;
  int calls = 0;

 protected:
  std::shared_ptr<platform::OutputStream> OpenStandardOutput() override { return out; }
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Millions of parse failures must not go to syslog.
  static const platform::ScopedDebugLogSink quiet([](std::string_view) {});

  const std::string word(reinterpret_cast<const char*>(data), size);
  RecordingApp app;
  const int32_t status = app.Run({"cmdrunner", word});
  const std::string& out = app.out->written;

  FUZZ_CHECK(app.out->writes <= 1);
  FUZZ_CHECK((status == -101) == platform::Trim(word).empty());
  switch (status) {
    case 0:
      FUZZ_CHECK(out.empty());
      break;
    case -101:
      FUZZ_CHECK(out == "Fatal Error: No arguments were specified.");
      break;
    case -103:
      FUZZ_CHECK(out == "Fatal Error: No commands specified");
      FUZZ_CHECK(app.calls == 0);
      break;
    case -104:
      FUZZ_CHECK(StartsWith(out, "Fatal Error: Helper tool '"));
      FUZZ_CHECK(EndsWith(out, "' could not be found on this system."));
      break;
    case RecordingApp::kFailure:
      FUZZ_CHECK(app.calls % 3 == 0);
      FUZZ_CHECK(out == "Fatal Error: Command Error\nError Code: 7\nCommand: " + app.last_path + " " +
                            platform::Join(app.last_args, " ") + "\nResult: captured");
      break;
    default:
      // -1 would mean an exception escaped the lookups or the walk; -102
      // cannot come from one word. Both are findings.
      std::fprintf(stderr, "status %d, output \"%s\"\n", status, out.c_str());
      std::abort();
  }
  return 0;
}
