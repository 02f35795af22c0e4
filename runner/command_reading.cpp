#include "runner/command_reading.h"

#include "platform/text.h"

std::vector<std::string_view> NonBlankArguments(const std::vector<std::string>& args) {
  // Views, not copies: the one argument is the whole document.
  std::vector<std::string_view> candidates;
  for (size_t i = 1; i < args.size(); ++i) {
    if (!platform::Trim(args[i]).empty()) candidates.emplace_back(args[i]);
  }
  return candidates;
}

std::optional<CommandEntry> ReadCommand(const platform::XmlNode& child) {
  if (!platform::EqualsIgnoringCase(child.Name(), "command")) return std::nullopt;
  CommandEntry entry{XMLData(child), {}, {}};
  entry.tool_path = entry.command.GetURLDecodedString("tool_path", "", false);
  if (const auto arguments = entry.command.GetNode("arguments")) {
    for (const auto& item : arguments->Children()) {
      entry.values.push_back(XMLData(item).GetURLDecodedString("value", "", false));
    }
  }
  return entry;
}
