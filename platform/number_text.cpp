#include "platform/number_text.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "platform/text.h"

namespace platform {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the decimal number at the start of text, 0 when there is none.
size_t NumberLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    size_t j = i + 1;
    size_t fraction = 0;
    while (j < text.size() && IsDigit(text[j])) ++j, ++fraction;
    if (digits + fraction > 0) {
      i = j;
      digits += fraction;
    }
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t exponent = 0;
    while (j < text.size() && IsDigit(text[j])) ++j, ++exponent;
    if (exponent > 0) i = j;
  }
  return i;
}

std::string_view SkipLeadingWhiteSpace(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  return text.substr(i);
}

locale_t CLocale() {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return c_locale;
}

}  // namespace

double Val(std::string_view text) {
  text = SkipLeadingWhiteSpace(text);
  const size_t length = NumberLength(text);
  if (length == 0) return 0.0;
  // strtod_l gives correctly rounded results, infinity on overflow and the
  // C locale's decimal point; the number was already delimited above.
  const std::string number(text.substr(0, length));
  return strtod_l(number.c_str(), nullptr, CLocale());
}

bool IsNumeric(std::string_view text) {
  text = Trim(text);
  return !text.empty() && NumberLength(text) == text.size();
}

}  // namespace platform
