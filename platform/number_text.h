#pragma once

#include <string_view>

namespace platform {

// Reads the longest decimal number at the start of the text, after leading
// white space: optional sign, digits, optional fraction, optional exponent.
// No hexadecimal forms and no "inf" or "nan" words; the decimal point is
// always ".", whatever the locale. Text without such a number gives 0.
double Val(std::string_view text);

// True when the whole text, white space around it aside, is one such number.
bool IsNumeric(std::string_view text);

}  // namespace platform
