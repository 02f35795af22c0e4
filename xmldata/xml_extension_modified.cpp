#include "xmldata/xml_extension_modified.h"

#include "platform/debug_log.h"
#include "platform/xml_document.h"

namespace XMLExtensionModified {

XMLData LoadXMLStr(std::string_view text) {
  if (text.empty()) return XMLData();
  try {
    const auto document = platform::XmlDocument::Parse(text);
    return XMLData(document.FirstChild());
  } catch (const platform::XmlException&) {
    platform::DebugLog("The string could not be parsed as XML.");
    return XMLData();
  }
}

}  // namespace XMLExtensionModified
