#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The line end that joins multi-line messages and replaces captured line ends.
inline constexpr std::string_view kEndOfLine = "\n";

// ASCII white space: space, tab, line feed, vertical tab, form feed, carriage return.
bool IsWhiteSpace(char c);

// The text without white space at either end.
std::string_view Trim(std::string_view text);

// The entries joined with the separator between each two.
std::string Join(const std::vector<std::string>& entries, std::string_view separator);

// Whole-text equality with ASCII letters compared case-blind.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Turns CRLF, a lone CR and LF into kEndOfLine.
std::string ReplaceLineEndings(std::string_view text);

// ReplaceLineEndings for a text that arrives in chunks, done in place so
// each chunk is rewritten while it is still in the cache. A CR that ends one
// chunk and an LF that starts the next are one line ending.
class LineEndingReplacer {
 public:
  // Rewrites the chunk in place; returns the length of what it became,
  // never more than size.
  size_t Replace(char* chunk, size_t size);

 private:
  bool after_cr_ = false;
};

}  // namespace platform
