#include <cmdrunner/client.h>

namespace cmdrunner {

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

int HexWorth(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentEncode(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (IsUnreserved(b)) {
      encoded.push_back(c);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[b >> 4]);
      encoded.push_back(kHex[b & 0x0F]);
    }
  }
  return encoded;
}

Result<std::string> PercentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded.push_back(text[i]);
      continue;
    }
    // cmdrunner reads a broken escape in its own way; refusing it here keeps
    // our reading and cmdrunner's the same.
    const int high = i + 1 < text.size() ? HexWorth(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexWorth(text[i + 2]) : -1;
    if (high < 0 || low < 0) {
      return Result<std::string>::Failure("malformed percent escape at byte " + std::to_string(i + 1) + ": \"" +
                                          std::string(text.substr(i, 3)) + "\"");
    }
    decoded.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return decoded;
}

}  // namespace cmdrunner
