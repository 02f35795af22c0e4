#include "platform/text.h"

#include <cstring>

namespace platform {

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsWhiteSpace(text[begin])) ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string Join(const std::vector<std::string>& entries, std::string_view separator) {
  size_t size = 0;
  for (const auto& e : entries) size += e.size() + separator.size();
  std::string joined;
  joined.reserve(size);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) joined.append(separator);
    joined.append(entries[i]);
  }
  return joined;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string ReplaceLineEndings(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const void* hit = std::memchr(text.data() + i, '\r', text.size() - i);
    const size_t cr = hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
    out.append(text.substr(i, cr - i));
    if (cr == text.size()) break;
    out.append(kEndOfLine);
    i = cr + 1;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return out;
}

}  // namespace platform
