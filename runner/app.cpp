#include "runner/app.h"

#include <optional>

#include "platform/file_item.h"
#include "platform/text.h"
#include "xmldata/core_engine.h"
#include "xmldata/xml_extension_modified.h"

namespace {

constexpr char kNoArguments[] = "Fatal Error: No arguments were specified.";
constexpr char kInvalidArgumentCount[] = "Fatal Error: Invalid argument count.";
constexpr char kNoCommands[] = "Fatal Error: No commands specified";
constexpr char kUnhandledException[] = "Fatal Error: Unhandled exception.";

std::string ToolNotFound(const std::string& tool_path) {
  return "Fatal Error: Helper tool '" + tool_path + "' could not be found on this system.";
}

// The report's lines up to "Result: "; the captured text follows it as a
// part of its own, so the report is written without copying that text.
std::string CommandErrorReportHead(int32_t status, const std::string& tool_path,
                                   const std::vector<std::string>& values) {
  std::string report = "Fatal Error: Command Error";
  report += platform::kEndOfLine;
  report += "Error Code: " + std::to_string(status);
  report += platform::kEndOfLine;
  report += "Command: " + tool_path + " " + platform::Join(values, " ");
  report += platform::kEndOfLine;
  report += "Result: ";
  return report;
}

}  // namespace

std::shared_ptr<platform::OutputStream> App::OpenStandardOutput() {
  return std::make_shared<platform::StandardOutputStream>();
}

int32_t App::Run(const std::vector<std::string>& args) {
  xOut = OpenStandardOutput();
  try {
    // Views, not copies: the one argument is the whole document.
    std::vector<std::string_view> candidates;
    for (size_t i = 1; i < args.size(); ++i) {
      if (!platform::Trim(args[i]).empty()) candidates.emplace_back(args[i]);
    }
    if (candidates.empty()) {
      xOut->Write(kNoArguments);
      return -101;
    }
    if (candidates.size() > 1) {
      xOut->Write(kInvalidArgumentCount);
      return -102;
    }

    const XMLData document = XMLExtensionModified::LoadXMLStr(CoreEngine::DecodingFromURLVRD(candidates[0]));
    const auto commands = document.GetNode("commands");
    if (!commands) {
      xOut->Write(kNoCommands);
      return -103;
    }

    for (const auto& child : commands->Children()) {
      if (!platform::EqualsIgnoringCase(child.Name(), "command")) continue;
      const XMLData command(child);
      std::vector<std::string> values;
      const std::string tool_path = command.GetURLDecodedString("tool_path", "", false);
      if (const auto arguments = command.GetNode("arguments")) {
        for (const auto& item : arguments->Children()) {
          values.push_back(XMLData(item).GetURLDecodedString("value", "", false));
        }
      }

      const auto tool = platform::FileItem::FromPosixPath(tool_path);
      if (!tool || !tool->Exists()) {
        xOut->Write(ToolNotFound(tool_path));
        return -104;
      }

      platform::CaptureBuffer output;
      const int32_t status = TaskExecVRD(tool->UnixPath(), values, output, true);
      if (status == 0) continue;
      if (!command.GetBoolean("fail_on_error", false)) continue;
      const std::string head = CommandErrorReportHead(status, tool->UnixPath(), values);
      const std::string_view report[] = {head, output.View()};
      xOut->WriteParts(report);
      return status;
    }
    return 0;
  } catch (...) {
    xOut->Write(kUnhandledException);
    return -1;
  }
}
