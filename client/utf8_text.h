#pragma once

#include <string_view>

namespace cmdrunner {

// True when the bytes are well-formed UTF-8: shortest forms only, no
// surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view bytes);

// True when every character may stand in XML 1.0 text: no control
// characters other than tab, line feed and carriage return, and neither
// U+FFFE nor U+FFFF. The bytes must be UTF-8 already.
bool IsXmlText(std::string_view utf8);

}  // namespace cmdrunner
