// HTML character-reference decoding on arbitrary bytes: the text of an
// element read with GetHTMLDecodedString comes from the document as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/html_decoding.h"
#include "platform/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string decoded = platform::DecodeHtml(input);

  FUZZ_CHECK(platform::IsValidUtf8(decoded));
  // The most a byte can grow into is one U+FFFD for an ill-formed byte.
  FUZZ_CHECK(decoded.size() <= 3 * input.size());
  // Well-formed text without "&" has nothing to decode.
  if (input.find('&') == std::string_view::npos && platform::IsValidUtf8(input)) FUZZ_CHECK(decoded == input);
  // What a reference produces is never read again: decoding text whose
  // every "&" is escaped as "&amp;" gives back the text itself.
  if (platform::IsValidUtf8(input)) {
    std::string escaped;
    for (const char c : input) escaped += c == '&' ? std::string("&amp;") : std::string(1, c);
    FUZZ_CHECK(platform::DecodeHtml(escaped) == input);
  }
  return 0;
}
