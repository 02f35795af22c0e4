#include "runner/messages.h"

#include "platform/text.h"

namespace messages {

std::string ToolNotFound(std::string_view tool_path) {
  std::string message = "Fatal Error: Helper tool '";
  message += tool_path;
  message += "' could not be found on this system.";
  return message;
}

std::string CommandErrorReportHead(int32_t status, std::string_view tool_path,
                                   const std::vector<std::string>& values) {
  std::string report = "Fatal Error: Command Error";
  report += platform::kEndOfLine;
  report += "Error Code: " + std::to_string(status);
  report += platform::kEndOfLine;
  report += "Command: ";
  report += tool_path;
  report += " ";
  report += platform::Join(values, " ");
  report += platform::kEndOfLine;
  report += "Result: ";
  return report;
}

}  // namespace messages
