#pragma once

#include <string>
#include <string_view>

namespace platform {

// Plain percent-decoding of bytes: "%" and the two bytes after it become one
// byte, every other byte is copied. A digit outside 0-9, a-f, A-F counts as 0,
// and "+" stays "+". A "%" with fewer than two bytes after it is copied as it
// stands, together with what follows it.
std::string DecodePercent(std::string_view encoded);

}  // namespace platform
