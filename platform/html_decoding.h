#pragma once

#include <string>
#include <string_view>

namespace platform {

// Resolves HTML character references in UTF-8 text, in one pass from left to
// right; what a reference produces is never read again ("&amp;amp;" gives
// "&amp;").
//
// A reference runs from an "&" to the next ";", or to the end of the text
// when no ";" follows. Its body is either one of the names of HtmlEntities()
// (letter case counts), or, in at most six characters, "#" and decimal
// digits or "#x" and at most four hexadecimal digits; the digits end at the
// first character that is no digit and the rest of the body is skipped. A
// body with a "-" after the "#", or whose value is 0, is no reference.
// Surrogate code points give U+FFFD, since UTF-8 cannot carry them.
//
// Everything else, an "&" that starts no reference included, is copied, and
// reading goes on right after that "&". Bytes that are not well-formed UTF-8
// become U+FFFD, so the result is always well-formed UTF-8.
std::string DecodeHtml(std::string_view text);

}  // namespace platform
