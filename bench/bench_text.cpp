#include "bench/bench_text.h"

#include <random>

namespace bench {

namespace {

constexpr const char* kWords[] = {"the",  "quick", "brown", "fox",       "jumps",    "over",  "a",
                                  "lazy", "dog",   "while", "cmdrunner", "captures", "every", "byte"};

}  // namespace

std::string CrlfText(size_t size) {
  std::mt19937 random(4);
  std::string text;
  text.reserve(size + 128);
  while (text.size() < size) {
    const int words = static_cast<int>(random() % 15);
    for (int i = 0; i < words; ++i) {
      if (i > 0) text += ' ';
      text += kWords[random() % std::size(kWords)];
    }
    text += "\r\n";
  }
  text.resize(size);
  return text;
}

std::string PercentEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size() * 3);
  for (const unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

std::string CommandDocument(size_t size) {
  std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<job><commands>";
  for (int i = 0; document.size() < size; ++i) {
    document += "<command><tool_path>" + PercentEncode("/usr/bin/tool-" + std::to_string(i)) + "</tool_path>";
    document += "<arguments>";
    for (const std::string& value : {std::string("-R"), std::string("750"), "/srv/data/folder " + std::to_string(i)}) {
      document += "<argument><value>" + PercentEncode(value) + "</value></argument>";
    }
    document += "</arguments><fail_on_error>true</fail_on_error></command>";
  }
  document += "</commands></job>\n";
  return document;
}

std::string LargestWordDocument() {
  constexpr size_t kArgumentLimit = 128 * 1024;
  std::string fits;
  for (size_t size = 16 * 1024;; size += 512) {
    std::string document = CommandDocument(size);
    if (PercentEncode(document).size() + 1 > kArgumentLimit) return fits;
    fits = std::move(document);
  }
}

}  // namespace bench
