#pragma once

#include <string>
#include <string_view>

namespace CoreEngine {

// Percent-decodes the text; the result is UTF-8. Decoded bytes that are
// well-formed UTF-8 come back unchanged, any others are read as ISO-8859-1
// and converted. Accepts every text.
std::string DecodingFromURLVRD(std::string_view encoded);

// Reads a Boolean out of loosely written text: false for the empty text,
// for "false", "no" and "off" in any letter case (whole text only), and for
// a number whose value is 0; true for everything else.
bool CBool(std::string_view value);

}  // namespace CoreEngine
