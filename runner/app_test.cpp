// Run's command loop with the launcher and standard output replaced, so the
// walk over the document can be checked without starting tools.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runner/app.h"
#include "runner/test_support.h"

namespace {

using testing_support::PercentEncode;

class CapturedOutput final : public platform::OutputStream {
 public:
  void Write(std::string_view text) override { written.append(text); }
  std::string written;
};

struct Call {
  std::string path;
  std::vector<std::string> args;
  bool operator==(const Call&) const = default;
};

class RecordingApp final : public App {
 public:
  int32_t TaskExecVRD(const std::string& toolPath, const std::vector<std::string>& toolArgs, std::string& output,
                      bool normalizeText) override {
    EXPECT_TRUE(normalizeText);
    EXPECT_EQ(output, "");
    calls.push_back({toolPath, toolArgs});
    if (throw_on_call == calls.size()) throw std::runtime_error("launcher broke");
    output = "captured";
    return status;
  }
  std::shared_ptr<platform::OutputStream> OpenStandardOutput() override { return out; }

  std::shared_ptr<CapturedOutput> out = std::make_shared<CapturedOutput>();
  std::vector<Call> calls;
  int32_t status = 0;
  size_t throw_on_call = 0;
};

int32_t RunWord(RecordingApp& app, const std::string& document) {
  return app.Run({"cmdrunner", PercentEncode(document)});
}

TEST(AppRun, ExceptionInTheLoopEndsTheRunWithMinusOne) {
  RecordingApp app;
  app.throw_on_call = 1;
  const int32_t status = RunWord(app, "<r><commands><command><tool_path>/bin/true</tool_path></command>"
                                      "<command><tool_path>/bin/false</tool_path></command></commands></r>");
  EXPECT_EQ(status, -1);
  EXPECT_EQ(app.out->written, "Fatal Error: Unhandled exception.");
  EXPECT_EQ(app.calls.size(), 1u);
}

TEST(AppRun, PrettyPrintedArgumentsAddEmptyValuesThatOnlyTheReportShows) {
  RecordingApp app;
  app.status = 2;
  const int32_t status = RunWord(app,
                                 "<?xml version=\"1.0\"?>\n<job>\n  <commands>\n    <command>\n"
                                 "      <tool_path>/bin/true</tool_path>\n"
                                 "      <arguments>\n        <a><value>x</value></a>\n      </arguments>\n"
                                 "      <fail_on_error>true</fail_on_error>\n    </command>\n  </commands>\n</job>\n");
  EXPECT_EQ(status, 2);
  ASSERT_EQ(app.calls.size(), 1u);
  EXPECT_EQ(app.calls[0], (Call{"/bin/true", {"", "x", ""}}));
  EXPECT_EQ(app.out->written, "Fatal Error: Command Error\nError Code: 2\nCommand: /bin/true  x \nResult: captured");
}

TEST(AppRun, ElementLookupsUseTheFirstMatchAndExactNames) {
  RecordingApp app;
  app.status = 1;
  // The first tool_path and arguments count; Fail_On_Error is another name,
  // so fail_on_error falls back to false and the failure passes silently.
  const int32_t status = RunWord(app,
                                 "<r><commands><command>"
                                 "<tool_path>/bin/true</tool_path><tool_path>/bin/false</tool_path>"
                                 "<arguments><a><value>1</value><value>2</value></a></arguments>"
                                 "<arguments><a><value>3</value></a></arguments>"
                                 "<Fail_On_Error>true</Fail_On_Error>"
                                 "</command></commands></r>");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(app.out->written, "");
  EXPECT_EQ(app.calls, (std::vector<Call>{{"/bin/true", {"1"}}}));
}

TEST(AppRun, RelativeToolPathIsTakenFromTheWorkingDirectoryNotTheSearchPath) {
  RecordingApp app;
  // "sh" exists on the search path but not (we assume) in the working directory.
  EXPECT_EQ(RunWord(app, "<r><commands><command><tool_path>sh</tool_path></command></commands></r>"), -104);
  EXPECT_EQ(app.out->written, "Fatal Error: Helper tool 'sh' could not be found on this system.");
  EXPECT_TRUE(app.calls.empty());
}

}  // namespace
