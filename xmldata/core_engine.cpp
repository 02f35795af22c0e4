#include "xmldata/core_engine.h"

#include "platform/number_text.h"
#include "platform/percent_decoding.h"
#include "platform/text.h"
#include "platform/utf8.h"

namespace CoreEngine {

std::string DecodingFromURLVRD(std::string_view encoded) {
  std::string decoded = platform::DecodePercent(encoded);
  if (platform::IsValidUtf8(decoded)) return decoded;
  return platform::Latin1ToUtf8(decoded);
}

bool CBool(std::string_view value) {
  if (value.empty()) return false;
  for (std::string_view word : {"false", "no", "off"}) {
    if (platform::EqualsIgnoringCase(value, word)) return false;
  }
  if (platform::IsNumeric(value) && platform::Val(value) == 0.0) return false;
  return true;
}

}  // namespace CoreEngine
