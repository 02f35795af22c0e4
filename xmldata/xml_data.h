#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/xml_node.h"

// A forgiving view of one node of a parsed XML document, or of no node at
// all. Every lookup takes a query (an XPath expression with the wrapped node
// as context node; a plain name selects child elements of that name), uses
// the first selected node only, and reports absence through the caller's
// default, an empty text, an absent node or false, never through an error.
class XMLData {
 public:
  using Node = platform::XmlNode;

  explicit XMLData(std::optional<Node> node = std::nullopt);
  virtual ~XMLData() = default;
  XMLData(const XMLData&) = default;
  XMLData& operator=(const XMLData&) = default;
  XMLData(XMLData&&) = default;
  XMLData& operator=(XMLData&&) = default;

  // The value read as a Boolean (CBool); defaultValue when nothing is found.
  virtual bool GetBoolean(std::string_view name, bool defaultValue) const;

  // The value percent-decoded: with useMBS, plain bytes; otherwise as UTF-8
  // text. defaultValue, never decoded, when nothing is found.
  virtual std::string GetURLDecodedString(std::string_view name, std::string_view defaultValue, bool useMBS) const;

  // The first selected node (any kind); the wrapped node itself for an empty name.
  virtual std::optional<Node> GetNode(std::string_view name) const;

  // Whether a node is wrapped.
  virtual bool Exists() const;

  // Whether the query selects any node at all, even one without content.
  virtual bool HasValue(std::string_view name) const;

  // A new wrapper around what GetNode would give; never absent, so callers
  // test the result with Exists.
  virtual XMLData GetXMLData(std::string_view name) const;

 private:
  // The core lookup. found is true when the first selected node is an
  // attribute (its value, even empty) or an element with at least one child
  // node (the value of that first child); every other case finds nothing.
  std::string GetVariable(std::string_view name, bool& found) const;

  std::optional<Node> private_node;
};
