// Building and reading cmdrunner command documents from C++.
//
// cmdrunner takes one command-line word: an XML command document,
// percent-encoded as a whole, in which the text of every tool_path and every
// value is percent-encoded once more. This library makes that word from plain
// values and reads such a word back, so a caller never writes either encoding
// by hand. It also reads and writes the readable form of a document: the same
// XML with plain texts in tool_path and value.
//
// C++20. Link with the cmdrunner-client library (pkg-config cmdrunner-client).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cmdrunner {

// One tool to run.
struct Command {
  // Absolute path of the tool, started directly (no shell, no search path).
  std::string tool_path;
  // The argument values, in order, each one argument word of the tool,
  // spaces and all. An empty value never reaches the tool, but cmdrunner's
  // command-error report still shows its place.
  std::vector<std::string> values;
  // When true, a failure of this tool stops the batch: cmdrunner writes its
  // command-error report and exits with the tool's status. When false, a
  // failure is passed over.
  bool fail_on_error = false;

  bool operator==(const Command&) const = default;
};

// The commands of one cmdrunner run, in the order they run.
using Batch = std::vector<Command>;

// A value, or the reason there is none.
template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  static Result Failure(std::string error) { return Result(std::nullopt, std::move(error)); }

  explicit operator bool() const { return value_.has_value(); }
  const T& operator*() const& { return *value_; }
  T&& operator*() && { return std::move(*value_); }
  const T* operator->() const { return &*value_; }
  // Why there is no value; empty when there is one.
  const std::string& error() const { return error_; }

 private:
  Result(std::nullopt_t, std::string error) : error_(std::move(error)) {}
  std::optional<T> value_;
  std::string error_;
};

// Linux hands one argument word of at most this many bytes to a program.
inline constexpr size_t kMaxWordBytes = 128 * 1024 - 1;

// The word to pass to cmdrunner as its one argument. Fails when a text
// cannot reach the tool as it stands: a NUL byte (no argument or path can
// hold one), bytes that are not UTF-8 (cmdrunner would read them as
// ISO-8859-1 and pass other bytes on), or a word longer than kMaxWordBytes.
Result<std::string> EncodeWord(const Batch& batch);

// The commands of a word, as cmdrunner would read them. Fails when the word
// is not one this library can read exactly as cmdrunner does: a malformed
// percent escape, text that is not UTF-8 after decoding, XML that does not
// parse, or a document whose structure cmdrunner would read in a way its
// writer can hardly have meant (see ReadReadable). An empty value stands for
// each item of <arguments> that is not an element, as in cmdrunner.
Result<Batch> DecodeWord(std::string_view word);

// Reads a readable document: the command document's own format with plain
// texts in tool_path and value. White space and comments between elements
// are layout. Stray text, unknown or repeated elements, an argument item
// without <value>, and a fail_on_error other than true/false, yes/no, on/off
// or 1/0 (any letter case) are errors rather than being read in silence.
Result<Batch> ReadReadable(std::string_view xml);

// The readable document of a batch, indented, ending in a line end. Fails
// for a text that XML 1.0 cannot carry (control characters other than tab,
// line feed and carriage return, or bytes that are not UTF-8).
Result<std::string> WriteReadable(const Batch& batch);

// Every byte that is not an unreserved character (A-Z a-z 0-9 - . _ ~)
// becomes %XX with upper-case hex digits.
std::string PercentEncode(std::string_view bytes);

// The reverse of PercentEncode. "+" stays "+". Fails for a "%" that is not
// followed by two hex digits.
Result<std::string> PercentDecode(std::string_view text);

}  // namespace cmdrunner
