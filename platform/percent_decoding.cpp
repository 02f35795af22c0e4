#include "platform/percent_decoding.h"

namespace platform {

namespace {

int HexWorth(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

std::string DecodePercent(std::string_view encoded) {
  std::string decoded;
  decoded.resize(encoded.size());
  char* out = decoded.data();
  const size_t n = encoded.size();
  size_t i = 0;
  while (i < n) {
    const char c = encoded[i];
    if (c == '%' && n - i > 2) {
      *out++ = static_cast<char>(HexWorth(encoded[i + 1]) * 16 + HexWorth(encoded[i + 2]));
      i += 3;
    } else {
      *out++ = c;
      ++i;
    }
  }
  decoded.resize(static_cast<size_t>(out - decoded.data()));
  return decoded;
}

}  // namespace platform
