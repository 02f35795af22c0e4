// Percent decoding and CoreEngine's text helpers on arbitrary bytes: the
// outer layer of every command-line word and the inner layer of every
// tool_path and value go through here.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/percent_decoding.h"
#include "platform/utf8.h"
#include "xmldata/core_engine.h"

namespace {

// The decoding rule written the slow, obvious way, to hold the fast one to.
std::string ReferenceDecode(std::string_view in) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  auto worth = [&](char c) {
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const size_t at = kDigits.find(lower);
    return at == std::string_view::npos ? 0 : static_cast<int>(at);
  };
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '%' && i + 2 < in.size()) {
      out += static_cast<char>(worth(in[i + 1]) * 16 + worth(in[i + 2]));
      i += 2;
    } else {
      out += in[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string bytes = platform::DecodePercent(input);
  FUZZ_CHECK(bytes.size() <= input.size());
  FUZZ_CHECK(bytes == ReferenceDecode(input));

  // Whatever the bytes, the text handed to the XML reader is UTF-8, and
  // bytes that already were UTF-8 are not touched.
  const std::string text = CoreEngine::DecodingFromURLVRD(input);
  FUZZ_CHECK(platform::IsValidUtf8(text));
  if (platform::IsValidUtf8(bytes)) FUZZ_CHECK(text == bytes);
  FUZZ_CHECK(text.size() >= bytes.size() && text.size() <= 2 * bytes.size());

  const bool value = CoreEngine::CBool(input);
  if (input.empty()) FUZZ_CHECK(!value);
  return 0;
}
