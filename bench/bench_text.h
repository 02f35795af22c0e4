#pragma once

#include <cstddef>
#include <string>

namespace bench {

// Text like a tool's output: lines of 0 to 14 words and CRLF line ends,
// the same every time.
std::string CrlfText(size_t size);

// Percent-encodes every byte that is not an unreserved character, as a
// caller encodes the command document.
std::string PercentEncode(const std::string& text);

// A command document of about `size` bytes: commands that each carry a
// tool path, a few arguments and fail_on_error, inner texts percent-encoded.
std::string CommandDocument(size_t size);

// The largest CommandDocument whose percent-encoded word still fits Linux's
// limit on one argument (128 KiB with its closing NUL).
std::string LargestWordDocument();

}  // namespace bench
