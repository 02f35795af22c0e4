#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/date.h"
#include "platform/xml_node.h"

// A forgiving view of one node of a parsed XML document, or of no node at
// all. Every lookup takes a query (an XPath expression with the wrapped node
// as context node; a plain name selects child elements of that name), uses
// the first selected node only, and reports absence through the caller's
// default, an empty text, an absent node or false, never through an error.
//
// The value lookups share one rule: the default comes back exactly when
// nothing is found. Found text is converted even when it is empty or no
// number (a number that is not there reads as 0).
class XMLData {
 public:
  using Node = platform::XmlNode;

  explicit XMLData(std::optional<Node> node = std::nullopt);
  virtual ~XMLData() = default;
  XMLData(const XMLData&) = default;
  XMLData& operator=(const XMLData&) = default;
  XMLData(XMLData&&) = default;
  XMLData& operator=(XMLData&&) = default;

  // The value as it stands, white space included.
  virtual std::string GetRawString(std::string_view name, std::string_view defaultValue) const;

  // The leading number of the value, its fraction cut off and limited to
  // the Integer range.
  virtual int32_t GetInteger(std::string_view name, int32_t defaultValue) const;

  // The leading number of the value.
  virtual double GetDouble(std::string_view name, double defaultValue) const;

  // The value read as a Boolean (CBool); defaultValue when nothing is found.
  virtual bool GetBoolean(std::string_view name, bool defaultValue) const;

  // The value percent-decoded: with useMBS, plain bytes; otherwise as UTF-8
  // text. defaultValue, never decoded, when nothing is found.
  virtual std::string GetURLDecodedString(std::string_view name, std::string_view defaultValue, bool useMBS) const;

  // The first selected node (any kind); the wrapped node itself for an empty name.
  virtual std::optional<Node> GetNode(std::string_view name) const;

  // The value as the decimal form of a packed 0xRRGGBB colour: its leading
  // number, fraction cut off and limited to 0 .. 2^32-1.
  virtual platform::Color GetColor(std::string_view name, platform::Color defaultValue) const;

  // Whether a node is wrapped.
  virtual bool Exists() const;

  // The texts of the children named itemName (letter case ignored) of the
  // container that GetNode(name) selects, in document order, each optionally
  // percent-decoded as GetURLDecodedString does. Children without content
  // leave no entry. Empty, never absent, when nothing qualifies.
  virtual std::vector<std::string> GetArray(std::string_view name, std::string_view itemName, bool urlDecode,
                                            bool useMBS) const;

  // A new Date whose TotalSeconds is the value's leading number; when
  // nothing is found, the very defaultValue object (which may be null).
  virtual std::shared_ptr<platform::Date> GetDate(std::string_view name,
                                                  std::shared_ptr<platform::Date> defaultValue) const;

  // The wrapped node with its whole subtree as XML text; empty for no node.
  virtual std::string ToString() const;

  // Whether the query selects any node at all, even one without content.
  virtual bool HasValue(std::string_view name) const;

  // The value of every selected node that has one, in document order: every
  // attribute (even empty), every element's first child; elements without
  // content and other nodes are skipped. Empty, never absent.
  virtual std::vector<std::string> GetRawStrings(std::string_view name) const;

  // The wrapped node's own attribute of that name (no query); defaultValue
  // when it is missing or empty.
  virtual std::string GetAttribute(std::string_view name, std::string_view defaultValue) const;

  // The wrapped node's name; empty for no node.
  virtual std::string GetElementName() const;

  // The value with its HTML character references resolved, as UTF-8.
  // defaultValue, never decoded, when nothing is found.
  virtual std::string GetHTMLDecodedString(std::string_view name, std::string_view defaultValue) const;

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
