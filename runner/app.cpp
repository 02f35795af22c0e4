#include "runner/app.h"

#include "platform/file_item.h"
#include "runner/command_reading.h"
#include "runner/messages.h"
#include "xmldata/core_engine.h"
#include "xmldata/xml_extension_modified.h"

std::shared_ptr<platform::OutputStream> App::OpenStandardOutput() {
  return std::make_shared<platform::StandardOutputStream>();
}

int32_t App::Run(const std::vector<std::string>& args) {
  xOut = OpenStandardOutput();
  try {
    const std::vector<std::string_view> candidates = NonBlankArguments(args);
    if (candidates.empty()) {
      xOut->Write(messages::kNoArguments);
      return -101;
    }
    if (candidates.size() > 1) {
      xOut->Write(messages::kInvalidArgumentCount);
      return -102;
    }

    const XMLData document = XMLExtensionModified::LoadXMLStr(CoreEngine::DecodingFromURLVRD(candidates[0]));
    const auto commands = document.GetNode("commands");
    if (!commands) {
      xOut->Write(messages::kNoCommands);
      return -103;
    }

    for (const auto& child : commands->Children()) {
      const auto entry = ReadCommand(child);
      if (!entry) continue;
      const auto& [command, tool_path, values] = *entry;

      const auto tool = platform::FileItem::FromPosixPath(tool_path);
      if (!tool || !tool->Exists()) {
        xOut->Write(messages::ToolNotFound(tool_path));
        return -104;
      }

      platform::CaptureBuffer output;
      const int32_t status = TaskExecVRD(tool->UnixPath(), values, output, true);
      if (status == 0) continue;
      if (!command.GetBoolean("fail_on_error", false)) continue;
      const std::string head = messages::CommandErrorReportHead(status, tool->UnixPath(), values);
      const std::string_view report[] = {head, output.View()};
      xOut->WriteParts(report);
      return status;
    }
    return 0;
  } catch (...) {
    xOut->Write(messages::kUnhandledException);
    return -1;
  }
}
