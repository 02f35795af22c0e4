#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when the bytes are well-formed UTF-8: shortest forms only, no
// surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Reads every byte as an ISO-8859-1 character and writes it as UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// Appends the UTF-8 form of one code point (callers pass scalar values).
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace platform
