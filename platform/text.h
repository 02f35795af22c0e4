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

}  // namespace platform
