#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml_node.h"
#include "xmldata/xml_data.h"

// How cmdrunner reads its command line and its command document. Run uses
// these, and so does anything that must predict what Run will do.

// The candidate list: the words after the program's path that are not blank,
// untrimmed, in their order.
std::vector<std::string_view> NonBlankArguments(const std::vector<std::string>& args);

// One command as Run reads it before starting its tool.
struct CommandEntry {
  XMLData command;                  // for the lookups made later (fail_on_error)
  std::string tool_path;            // decoded
  std::vector<std::string> values;  // decoded, one per child of arguments, empty ones included
};

// The child of commands read as a command, or nothing when its name is not
// "command" (letter case ignored).
std::optional<CommandEntry> ReadCommand(const platform::XmlNode& child);
