#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace platform {

// A query that the XPath engine rejects.
class XmlQueryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class XmlNode;
using XmlNodeList = std::vector<XmlNode>;

// One node of a parsed document. Each handle shares ownership of the whole
// document, so any node keeps its tree alive.
class XmlNode {
 public:
  enum class Kind { kElement, kAttribute, kText, kCData, kComment, kProcessingInstruction, kDocument, kOther };

  XmlNode(std::shared_ptr<_xmlDoc> document, _xmlNode* node);

  Kind GetKind() const;
  bool IsElement() const { return GetKind() == Kind::kElement; }
  bool IsAttribute() const { return GetKind() == Kind::kAttribute; }

  // Qualified name of an element, attribute or processing instruction;
  // "#text", "#cdata-section", "#comment" or "#document" for the others.
  std::string Name() const;

  // The node value as the DOM defines it: an attribute's value, the
  // character data of a text, CDATA section, comment or processing
  // instruction; empty for elements and the document.
  std::string Value() const;

  // Child nodes of every kind (text, CDATA, comment, processing instruction, element).
  size_t ChildCount() const;
  std::optional<XmlNode> Child(size_t index) const;
  std::optional<XmlNode> FirstChild() const;
  XmlNodeList Children() const;

  // Nodes selected by the XPath 1.0 expression with this node as the
  // context node, in document order. Results that are no nodes (numbers,
  // strings, namespace nodes) select nothing. Throws XmlQueryError for an
  // expression that does not compile or evaluate.
  XmlNodeList Xql(std::string_view query) const;
  // The first node that Xql would give, without building the whole list.
  std::optional<XmlNode> XqlFirst(std::string_view query) const;

  // The value of this element's attribute with that name; empty when absent.
  std::string GetAttribute(std::string_view name) const;

  // The node with its whole subtree as XML text.
  std::string ToString() const;

  bool IsSameNode(const XmlNode& other) const { return node_ == other.node_; }

 private:
  std::optional<XmlNode> Wrap(_xmlNode* node) const;

  std::shared_ptr<_xmlDoc> document_;
  _xmlNode* node_;
};

}  // namespace platform
