#include "platform/xml_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <new>

#include "platform/xml_library.h"

namespace platform {

namespace {

// Called when the parser meets <!DOCTYPE: stop before any declaration is read.
void RefuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

// Never NOENT, DTDLOAD, DTDVALID, XINCLUDE or HUGE: nothing but the text is read.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

}  // namespace

XmlDocument XmlDocument::Parse(std::string_view text) {
  EnsureXmlLibraryReady();
  // libxml2 would stop reading at a NUL and accept what came before it.
  if (text.find('\0') != std::string_view::npos) throw XmlException("the text holds a NUL byte");
  if (text.size() > static_cast<size_t>(INT_MAX)) throw XmlException("the text is too large");

  std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(), &xmlFreeParserCtxt);
  if (!context) throw std::bad_alloc();
  context->sax->internalSubset = RefuseDocumentType;

  // The text is UTF-8 whatever its declaration says, so the encoding is given.
  std::shared_ptr<xmlDoc> document(
      xmlCtxtReadMemory(context.get(), text.data(), static_cast<int>(text.size()), nullptr, "UTF-8", kParseOptions),
      [](xmlDoc* d) {
        if (d) xmlFreeDoc(d);
      });
  if (context->errNo == XML_ERR_USER_STOP) throw XmlException("a document type declaration is not accepted");
  if (!document || !context->wellFormed) throw XmlException("the text is not well-formed XML");
  if (document->intSubset || document->extSubset) throw XmlException("a document type declaration is not accepted");
  return XmlDocument(std::move(document));
}

std::optional<XmlNode> XmlDocument::FirstChild() const {
  xmlNode* first = document_->children;
  if (!first) return std::nullopt;
  return XmlNode(document_, first);
}

}  // namespace platform
