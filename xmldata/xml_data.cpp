#include "xmldata/xml_data.h"

#include <utility>

#include "platform/html_decoding.h"
#include "platform/integer_conversion.h"
#include "platform/number_text.h"
#include "platform/percent_decoding.h"
#include "platform/text.h"
#include "xmldata/core_engine.h"

namespace {

// The value rule that single and list lookups share: an attribute gives its
// value, even empty; an element gives the value of its first child node of
// whatever kind; an element without children and every other node give none.
std::optional<std::string> ValueOf(const XMLData::Node& node) {
  if (node.IsAttribute()) return node.Value();
  if (node.IsElement()) {
    const auto first_child = node.FirstChild();
    if (first_child) return first_child->Value();
  }
  return std::nullopt;
}

std::string UrlDecode(std::string_view text, bool useMBS) {
  return useMBS ? platform::DecodePercent(text) : CoreEngine::DecodingFromURLVRD(text);
}

}  // namespace

XMLData::XMLData(std::optional<Node> node) : private_node(std::move(node)) {}

std::string XMLData::GetRawString(std::string_view name, std::string_view defaultValue) const {
  bool found;
  std::string text = GetVariable(name, found);
  if (!found) return std::string(defaultValue);
  return text;
}

int32_t XMLData::GetInteger(std::string_view name, int32_t defaultValue) const {
  bool found;
  const std::string text = GetVariable(name, found);
  return found ? platform::DoubleToInt32(platform::Val(text)) : defaultValue;
}

double XMLData::GetDouble(std::string_view name, double defaultValue) const {
  bool found;
  const std::string text = GetVariable(name, found);
  return found ? platform::Val(text) : defaultValue;
}

bool XMLData::GetBoolean(std::string_view name, bool defaultValue) const {
  bool found;
  const std::string text = GetVariable(name, found);
  return found ? CoreEngine::CBool(text) : defaultValue;
}

std::string XMLData::GetVariable(std::string_view name, bool& found) const {
  found = false;
  if (!private_node) return std::string();
  const auto selected = private_node->XqlFirst(name);
  if (!selected) return std::string();
  auto value = ValueOf(*selected);
  if (!value) return std::string();
  found = true;
  return std::move(*value);
}

std::string XMLData::GetURLDecodedString(std::string_view name, std::string_view defaultValue, bool useMBS) const {
  bool found;
  const std::string text = GetVariable(name, found);
  if (!found) return std::string(defaultValue);
  return UrlDecode(text, useMBS);
}

std::optional<XMLData::Node> XMLData::GetNode(std::string_view name) const {
  if (!private_node) return std::nullopt;
  if (name.empty()) return private_node;
  return private_node->XqlFirst(name);
}

platform::Color XMLData::GetColor(std::string_view name, platform::Color defaultValue) const {
  bool found;
  const std::string text = GetVariable(name, found);
  return found ? platform::Color(platform::DoubleToUInt32(platform::Val(text))) : defaultValue;
}

bool XMLData::Exists() const { return private_node.has_value(); }

std::vector<std::string> XMLData::GetArray(std::string_view name, std::string_view itemName, bool urlDecode,
                                           bool useMBS) const {
  std::vector<std::string> entries;
  const auto container = GetNode(name);
  if (!container) return entries;
  for (const Node& child : container->Children()) {
    if (!platform::EqualsIgnoringCase(child.Name(), itemName)) continue;
    const auto first_child = child.FirstChild();
    if (!first_child) continue;
    std::string value = first_child->Value();
    entries.push_back(urlDecode ? UrlDecode(value, useMBS) : std::move(value));
  }
  return entries;
}

std::shared_ptr<platform::Date> XMLData::GetDate(std::string_view name,
                                                 std::shared_ptr<platform::Date> defaultValue) const {
  bool found;
  const std::string text = GetVariable(name, found);
  if (!found) return defaultValue;
  auto date = std::make_shared<platform::Date>();
  date->SetTotalSeconds(platform::Val(text));
  return date;
}

std::string XMLData::ToString() const { return private_node ? private_node->ToString() : std::string(); }

bool XMLData::HasValue(std::string_view name) const {
  if (!private_node) return false;
  return private_node->XqlFirst(name).has_value();
}

std::vector<std::string> XMLData::GetRawStrings(std::string_view name) const {
  std::vector<std::string> entries;
  if (!private_node) return entries;
  for (const Node& node : private_node->Xql(name)) {
    auto value = ValueOf(node);
    if (value) entries.push_back(std::move(*value));
  }
  return entries;
}

std::string XMLData::GetAttribute(std::string_view name, std::string_view defaultValue) const {
  if (!private_node) return std::string(defaultValue);
  std::string value = private_node->GetAttribute(name);
  return value.empty() ? std::string(defaultValue) : value;
}

std::string XMLData::GetElementName() const { return private_node ? private_node->Name() : std::string(); }

std::string XMLData::GetHTMLDecodedString(std::string_view name, std::string_view defaultValue) const {
  bool found;
  const std::string text = GetVariable(name, found);
  return found ? platform::DecodeHtml(text) : std::string(defaultValue);
}

XMLData XMLData::GetXMLData(std::string_view name) const { return XMLData(GetNode(name)); }
