#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/xml_node.h"

namespace platform {

// A text that is not one well-formed XML document we are willing to read.
class XmlException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A parsed XML document.
class XmlDocument {
 public:
  // Parses the UTF-8 text as one complete document. Throws XmlException
  // when the text is not well-formed, holds a NUL byte, or carries a
  // document type declaration: command documents never need one, and
  // refusing it shuts out external entities and entity expansion. Nothing
  // outside the text is ever read, and white space between elements stays
  // as text nodes.
  static XmlDocument Parse(std::string_view text);

  // The first top-level node; an XML declaration is no node.
  std::optional<XmlNode> FirstChild() const;

 private:
  explicit XmlDocument(std::shared_ptr<_xmlDoc> document) : document_(std::move(document)) {}
  std::shared_ptr<_xmlDoc> document_;
};

}  // namespace platform
