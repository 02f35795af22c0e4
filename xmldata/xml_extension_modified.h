#pragma once

#include <string_view>

#include "xmldata/xml_data.h"

namespace XMLExtensionModified {

// Parses the text and wraps the document's first top-level node (for a
// command document, its root element). An empty text gives an empty wrapper
// without a word; a text that does not parse gives an empty wrapper and the
// debug-log line "The string could not be parsed as XML.".
XMLData LoadXMLStr(std::string_view text);

}  // namespace XMLExtensionModified
