#include "utf8_text.h"

namespace cmdrunner {

bool IsUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      ++p;
      continue;
    }
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;   // overlong
      if (b == 0xED) high = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;   // overlong
      if (b == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (static_cast<size_t>(end - p) < length || p[1] < low || p[1] > high) return false;
    for (size_t k = 2; k < length; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
    }
    p += length;
  }
  return true;
}

bool IsXmlText(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') return false;
    // U+FFFE and U+FFFF are EF BF BE and EF BF BF.
    if (b == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
        (static_cast<unsigned char>(utf8[i + 2]) & 0xFE) == 0xBE) {
      return false;
    }
  }
  return true;
}

}  // namespace cmdrunner
