#include "platform/xml_node.h"

#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/xml_library.h"

namespace platform {

namespace {

std::string ToStdString(const xmlChar* text) { return text ? std::string(reinterpret_cast<const char*>(text)) : std::string(); }

std::string QualifiedName(const xmlNode* node) {
  std::string name;
  if (node->ns && node->ns->prefix) {
    name = ToStdString(node->ns->prefix);
    name += ':';
  }
  name += ToStdString(node->name);
  return name;
}

// Nodes that can be handed out as XmlNode: namespace declarations that XPath
// returns are xmlNs records, not xmlNode, and must never be wrapped.
bool IsWrappable(const xmlNode* node) { return node && node->type != XML_NAMESPACE_DECL; }

struct XPathContextDeleter {
  void operator()(xmlXPathContext* c) const { xmlXPathFreeContext(c); }
};
struct XPathObjectDeleter {
  void operator()(xmlXPathObject* o) const { xmlXPathFreeObject(o); }
};
using XPathResult = std::unique_ptr<xmlXPathObject, XPathObjectDeleter>;

XPathResult Evaluate(xmlDoc* document, xmlNode* context_node, std::string_view query) {
  EnsureXmlLibraryReady();
  const std::string expression(query);
  if (expression.size() != query.size() || expression.find('\0') != std::string::npos) {
    throw XmlQueryError("the query holds a NUL byte");
  }
  std::unique_ptr<xmlXPathContext, XPathContextDeleter> context(xmlXPathNewContext(document));
  if (!context) throw std::bad_alloc();
  context->node = context_node;
  XPathResult result(xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context.get()));
  if (!result) throw XmlQueryError("the query could not be evaluated: " + expression);
  if (result->type == XPATH_NODESET && result->nodesetval) xmlXPathNodeSetSort(result->nodesetval);
  return result;
}

// A query that is one plain name (ASCII letters, digits and "_", not
// starting with a digit) selects the child elements of that name that are
// in no namespace, exactly as XPath does. It is by far the most common
// query, and walking the children answers it without compiling and running
// an expression on every lookup.
bool IsPlainName(std::string_view query) {
  if (query.empty() || (query[0] >= '0' && query[0] <= '9')) return false;
  for (const char c : query) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

// The kinds whose child axis XPath takes from the children list; an
// attribute's children (its text) are no children to XPath.
bool ChildAxisIsChildrenList(const xmlNode* node) {
  switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE: return true;
    default: return false;
  }
}

// name holds no NUL (it is a plain name), so strncmp stops at the end of
// the shorter of the two and never reads past the element's name.
bool IsChildNamed(const xmlNode* child, std::string_view name) {
  const auto* element_name = reinterpret_cast<const char*>(child->name);
  return child->type == XML_ELEMENT_NODE && child->ns == nullptr &&
         std::strncmp(element_name, name.data(), name.size()) == 0 && element_name[name.size()] == '\0';
}

bool CanWalkChildren(const xmlNode* node, std::string_view query) {
  return ChildAxisIsChildrenList(node) && IsPlainName(query);
}

}  // namespace

XmlNode::XmlNode(std::shared_ptr<_xmlDoc> document, _xmlNode* node) : document_(std::move(document)), node_(node) {}

std::optional<XmlNode> XmlNode::Wrap(_xmlNode* node) const {
  if (!IsWrappable(node)) return std::nullopt;
  return XmlNode(document_, node);
}

XmlNode::Kind XmlNode::GetKind() const {
  switch (node_->type) {
    case XML_ELEMENT_NODE: return Kind::kElement;
    case XML_ATTRIBUTE_NODE: return Kind::kAttribute;
    case XML_TEXT_NODE: return Kind::kText;
    case XML_CDATA_SECTION_NODE: return Kind::kCData;
    case XML_COMMENT_NODE: return Kind::kComment;
    case XML_PI_NODE: return Kind::kProcessingInstruction;
    case XML_DOCUMENT_NODE: return Kind::kDocument;
    default: return Kind::kOther;
  }
}

std::string XmlNode::Name() const {
  switch (GetKind()) {
    case Kind::kElement:
    case Kind::kAttribute: return QualifiedName(node_);
    case Kind::kProcessingInstruction: return ToStdString(node_->name);
    case Kind::kText: return "#text";
    case Kind::kCData: return "#cdata-section";
    case Kind::kComment: return "#comment";
    case Kind::kDocument: return "#document";
    case Kind::kOther: break;
  }
  return ToStdString(node_->name);
}

std::string XmlNode::Value() const {
  switch (GetKind()) {
    case Kind::kAttribute: {
      std::unique_ptr<xmlChar, decltype(xmlFree)> content(xmlNodeGetContent(node_), xmlFree);
      return ToStdString(content.get());
    }
    case Kind::kText:
    case Kind::kCData:
    case Kind::kComment:
    case Kind::kProcessingInstruction: return ToStdString(node_->content);
    default: return std::string();
  }
}

size_t XmlNode::ChildCount() const {
  size_t count = 0;
  for (xmlNode* child = node_->children; child; child = child->next) ++count;
  return count;
}

std::optional<XmlNode> XmlNode::Child(size_t index) const {
  xmlNode* child = node_->children;
  while (child && index > 0) {
    child = child->next;
    --index;
  }
  return Wrap(child);
}

std::optional<XmlNode> XmlNode::FirstChild() const { return Wrap(node_->children); }

XmlNodeList XmlNode::Children() const {
  XmlNodeList children;
  for (xmlNode* child = node_->children; child; child = child->next) children.emplace_back(document_, child);
  return children;
}

XmlNodeList XmlNode::Xql(std::string_view query) const {
  XmlNodeList nodes;
  if (CanWalkChildren(node_, query)) {
    for (xmlNode* child = node_->children; child; child = child->next) {
      if (IsChildNamed(child, query)) nodes.emplace_back(document_, child);
    }
    return nodes;
  }
  XPathResult result = Evaluate(document_.get(), node_, query);
  if (result->type != XPATH_NODESET || !result->nodesetval) return nodes;
  const xmlNodeSet* set = result->nodesetval;
  nodes.reserve(static_cast<size_t>(set->nodeNr));
  for (int i = 0; i < set->nodeNr; ++i) {
    if (IsWrappable(set->nodeTab[i])) nodes.emplace_back(document_, set->nodeTab[i]);
  }
  return nodes;
}

std::optional<XmlNode> XmlNode::XqlFirst(std::string_view query) const {
  if (CanWalkChildren(node_, query)) {
    for (xmlNode* child = node_->children; child; child = child->next) {
      if (IsChildNamed(child, query)) return XmlNode(document_, child);
    }
    return std::nullopt;
  }
  XPathResult result = Evaluate(document_.get(), node_, query);
  if (result->type != XPATH_NODESET || !result->nodesetval) return std::nullopt;
  const xmlNodeSet* set = result->nodesetval;
  for (int i = 0; i < set->nodeNr; ++i) {
    if (IsWrappable(set->nodeTab[i])) return XmlNode(document_, set->nodeTab[i]);
  }
  return std::nullopt;
}

std::string XmlNode::GetAttribute(std::string_view name) const {
  if (GetKind() != Kind::kElement) return std::string();
  const std::string key(name);
  if (key.find('\0') != std::string::npos) return std::string();
  std::unique_ptr<xmlChar, decltype(xmlFree)> value(xmlGetProp(node_, reinterpret_cast<const xmlChar*>(key.c_str())),
                                                    xmlFree);
  return ToStdString(value.get());
}

std::string XmlNode::ToString() const {
  std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), &xmlBufferFree);
  if (!buffer) throw std::bad_alloc();
  if (xmlNodeDump(buffer.get(), document_.get(), node_, 0, 0) < 0) return std::string();
  return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                     static_cast<size_t>(xmlBufferLength(buffer.get())));
}

}  // namespace platform
