#include "platform/text.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

static_assert(kEndOfLine == "\n", "line endings are replaced in place, one byte for one or two");

// The byte-at-a-time form, for what is left after the blocks.
size_t ReplaceLineEndingsBytewise(const char* in, const char* end, char* out, bool& after_cr) {
  char* const start = out;
  bool previous_cr = after_cr;
  while (in < end) {
    const char c = *in++;
    if (c == '\r') {
      *out++ = '\n';
      previous_cr = true;
    } else {
      if (c != '\n' || !previous_cr) *out++ = c;
      previous_cr = false;
    }
  }
  after_cr = previous_cr;
  return static_cast<size_t>(out - start);
}

// Copies the text to out (which may be the text itself: out never passes
// the reading position) with its line endings replaced. after_cr says
// whether the text before this one ended in a CR, and is updated.
size_t ReplaceLineEndingsInto(const char* in, size_t size, char* out, bool& after_cr) {
  const char* const end = in + size;
  char* const start = out;
#if defined(__SSE2__)
  // Sixteen bytes at a time: every CR becomes an LF, and an LF that follows
  // a CR is taken out by moving the bytes after it down by one, all in a
  // register. A block's store never reaches past the block's own end, so
  // replacing in place cannot spoil bytes not yet read.
  unsigned carry = after_cr ? 1 : 0;
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr_to_lf = _mm_set1_epi8('\r' ^ '\n');
  const __m128i positions = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  const auto without_byte = [&](__m128i bytes, int at) {
    const __m128i before = _mm_cmplt_epi8(positions, _mm_set1_epi8(static_cast<char>(at)));
    return _mm_or_si128(_mm_and_si128(before, bytes), _mm_andnot_si128(before, _mm_srli_si128(bytes, 1)));
  };
  while (end - in >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i crs = _mm_cmpeq_epi8(block, cr);
    const auto cr_bits = static_cast<unsigned>(_mm_movemask_epi8(crs));
    const auto lf_bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
    unsigned drop = lf_bits & ((cr_bits << 1) | carry);
    carry = cr_bits >> 15;
    __m128i replaced = _mm_xor_si128(block, _mm_and_si128(crs, cr_to_lf));
    int kept = 16;
    if ((drop & (drop - 1)) == 0) {
      // None or one to take out, the common case, without a branch.
      replaced = without_byte(replaced, drop ? __builtin_ctz(drop) : 16);
      kept -= drop != 0;
    } else {
      // Highest first, so the positions of the others stay put.
      while (drop) {
        const int at = 31 - __builtin_clz(drop);
        drop &= ~(1u << at);
        replaced = without_byte(replaced, at);
        --kept;
      }
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), replaced);
    out += kept;
    in += 16;
  }
  after_cr = carry != 0;
#endif
  out += ReplaceLineEndingsBytewise(in, end, out, after_cr);
  return static_cast<size_t>(out - start);
}

}  // namespace

std::string ReplaceLineEndings(std::string_view text) {
  std::string out(text.size(), '\0');
  bool after_cr = false;
  out.resize(ReplaceLineEndingsInto(text.data(), text.size(), out.data(), after_cr));
  return out;
}

size_t LineEndingReplacer::Replace(char* chunk, size_t size) { return ReplaceLineEndingsInto(chunk, size, chunk, after_cr_); }

}  // namespace platform
