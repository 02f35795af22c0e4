#include "platform/xml_library.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

namespace platform {

namespace {

void IgnoreGenericError(void*, const char*, ...) {}
void IgnoreStructuredError(void*, xmlErrorPtr) {}

xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

}  // namespace

void EnsureXmlLibraryReady() {
  static const bool ready = [] {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
    xmlThrDefSetGenericErrorFunc(nullptr, IgnoreGenericError);
    xmlSetStructuredErrorFunc(nullptr, IgnoreStructuredError);
    xmlThrDefSetStructuredErrorFunc(nullptr, IgnoreStructuredError);
    xmlSetExternalEntityLoader(RefuseExternalEntity);
    return true;
  }();
  (void)ready;
}

}  // namespace platform
