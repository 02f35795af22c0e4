#include "xmldata/xml_data.h"

#include <utility>

#include "platform/percent_decoding.h"
#include "xmldata/core_engine.h"

XMLData::XMLData(std::optional<Node> node) : private_node(std::move(node)) {}

std::string XMLData::GetVariable(std::string_view name, bool& found) const {
  found = false;
  if (!private_node) return std::string();
  const auto selected = private_node->XqlFirst(name);
  if (!selected) return std::string();
  if (selected->IsAttribute()) {
    found = true;
    return selected->Value();
  }
  if (selected->IsElement()) {
    const auto first_child = selected->FirstChild();
    if (!first_child) return std::string();
    found = true;
    return first_child->Value();
  }
  return std::string();
}

bool XMLData::GetBoolean(std::string_view name, bool defaultValue) const {
  bool found;
  const std::string text = GetVariable(name, found);
  return found ? CoreEngine::CBool(text) : defaultValue;
}

std::string XMLData::GetURLDecodedString(std::string_view name, std::string_view defaultValue, bool useMBS) const {
  bool found;
  const std::string text = GetVariable(name, found);
  if (!found) return std::string(defaultValue);
  return useMBS ? platform::DecodePercent(text) : CoreEngine::DecodingFromURLVRD(text);
}

std::optional<XMLData::Node> XMLData::GetNode(std::string_view name) const {
  if (!private_node) return std::nullopt;
  if (name.empty()) return private_node;
  return private_node->XqlFirst(name);
}

bool XMLData::Exists() const { return private_node.has_value(); }

bool XMLData::HasValue(std::string_view name) const {
  if (!private_node) return false;
  return private_node->XqlFirst(name).has_value();
}

XMLData XMLData::GetXMLData(std::string_view name) const { return XMLData(GetNode(name)); }
