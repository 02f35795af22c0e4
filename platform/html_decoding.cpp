#include "platform/html_decoding.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/html_entities.h"
#include "platform/utf8.h"

namespace platform {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr size_t kMaxNumericBodyCharacters = 6;
constexpr size_t kMaxHexDigits = 4;

struct Character {
  char32_t code_point;
  size_t length;  // in bytes
  bool well_formed;
};

// The character at the start of bytes (which must not be empty). An
// ill-formed sequence reads as one U+FFFD spanning its longest valid prefix,
// at least one byte, the way the Unicode standard recommends.
Character ReadCharacter(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) return {lead, 1, true};
  size_t length;
  char32_t code_point;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {kReplacementCharacter, 1, false};
  }
  for (size_t k = 1; k < length; ++k) {
    if (k >= bytes.size()) return {kReplacementCharacter, k, false};
    const auto byte = static_cast<unsigned char>(bytes[k]);
    if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF)) return {kReplacementCharacter, k, false};
    code_point = (code_point << 6) | (byte & 0x3F);
  }
  return {code_point, length, true};
}

// Whether the text holds more than limit characters, counting no further.
bool HasMoreCharactersThan(std::string_view text, size_t limit) {
  size_t count = 0;
  while (!text.empty()) {
    if (++count > limit) return true;
    text.remove_prefix(ReadCharacter(text).length);
  }
  return false;
}

int DigitWorth(char c, bool hexadecimal) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hexadecimal) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// body starts with "#".
std::optional<char32_t> NumericReference(std::string_view body) {
  if (HasMoreCharactersThan(body, kMaxNumericBodyCharacters)) return std::nullopt;
  std::string_view digits = body.substr(1);
  const bool hexadecimal = !digits.empty() && digits.front() == 'x';
  if (hexadecimal) digits.remove_prefix(1);
  if (digits.find('-') != std::string_view::npos) return std::nullopt;
  // At most five decimal or four hexadecimal digits fit the body, so the
  // value stays far below any overflow.
  uint32_t value = 0;
  size_t count = 0;
  for (const char c : digits) {
    const int worth = DigitWorth(c, hexadecimal);
    if (worth < 0 || (hexadecimal && count == kMaxHexDigits)) break;
    value = value * (hexadecimal ? 16 : 10) + static_cast<uint32_t>(worth);
    ++count;
  }
  if (value == 0) return std::nullopt;
  if ((value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return kReplacementCharacter;
  return static_cast<char32_t>(value);
}

std::optional<char32_t> NamedReference(std::string_view body) {
  const auto entities = HtmlEntities();
  const auto it = std::lower_bound(entities.begin(), entities.end(), body,
                                   [](const HtmlEntity& entity, std::string_view name) { return entity.name < name; });
  if (it == entities.end() || it->name != body) return std::nullopt;
  return it->code_point;
}

std::optional<char32_t> Reference(std::string_view body) {
  if (!body.empty() && body.front() == '#') return NumericReference(body);
  return NamedReference(body);
}

}  // namespace

std::string DecodeHtml(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  const size_t n = text.size();
  // Every "&" needs the next ";". Remembering it keeps the pass linear when
  // many "&" share one ";" (or none follows at all).
  size_t semicolon = text.find(';');
  if (semicolon == std::string_view::npos) semicolon = n;
  size_t i = 0;
  while (i < n) {
    if (text[i] != '&') {
      const Character c = ReadCharacter(text.substr(i));
      if (c.well_formed) {
        decoded.append(text.substr(i, c.length));
      } else {
        AppendUtf8(decoded, kReplacementCharacter);
      }
      i += c.length;
      continue;
    }
    if (semicolon < i) {
      semicolon = text.find(';', i);
      if (semicolon == std::string_view::npos) semicolon = n;
    }
    const auto code_point = Reference(text.substr(i + 1, semicolon - i - 1));
    if (code_point) {
      AppendUtf8(decoded, *code_point);
      i = semicolon == n ? n : semicolon + 1;
    } else {
      decoded.push_back('&');
      ++i;
    }
  }
  return decoded;
}

}  // namespace platform
