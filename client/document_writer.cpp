// Writing command documents: the compact, doubly encoded word for cmdrunner
// and the indented, readable form for people.
#include <cmdrunner/client.h>

#include "utf8_text.h"

namespace cmdrunner {

namespace {

constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

std::string Place(size_t command, std::string_view what) {
  return "command " + std::to_string(command + 1) + ", " + std::string(what);
}

std::string ValuePlace(size_t command, size_t value) {
  return Place(command, "value " + std::to_string(value + 1));
}

// Why the text cannot travel in a word unchanged; empty when it can.
std::string WordProblem(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return "holds a NUL byte, which no path or argument can carry";
  if (!IsUtf8(text)) return "is not UTF-8 text (cmdrunner would read it as ISO-8859-1)";
  return std::string();
}

// Why the text cannot stand in a readable document; empty when it can.
std::string ReadableProblem(std::string_view text) {
  if (!IsUtf8(text)) return "is not UTF-8 text";
  if (!IsXmlText(text)) return "holds a control character that XML 1.0 cannot carry";
  return std::string();
}

template <typename Check>
std::string FindProblem(const Batch& batch, Check check) {
  for (size_t c = 0; c < batch.size(); ++c) {
    if (auto problem = check(batch[c].tool_path); !problem.empty()) return Place(c, "tool_path ") + problem;
    for (size_t v = 0; v < batch[c].values.size(); ++v) {
      if (auto problem = check(batch[c].values[v]); !problem.empty()) return ValuePlace(c, v) + " " + problem;
    }
  }
  return std::string();
}

std::string EscapeText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      // A literal carriage return would come back as a line feed.
      case '\r': escaped += "&#13;"; break;
      default: escaped.push_back(c);
    }
  }
  return escaped;
}

const char* BooleanText(bool value) { return value ? "true" : "false"; }

// No white space between elements: cmdrunner makes one value of every node
// inside <arguments>, white space included. The inner encoding leaves only
// unreserved characters and "%", so no text needs XML escaping.
std::string CompactDocument(const Batch& batch) {
  std::string xml(kDeclaration);
  xml += "<job><commands>";
  for (const auto& command : batch) {
    xml += "<command><tool_path>" + PercentEncode(command.tool_path) + "</tool_path>";
    if (!command.values.empty()) {
      xml += "<arguments>";
      for (const auto& value : command.values) xml += "<argument><value>" + PercentEncode(value) + "</value></argument>";
      xml += "</arguments>";
    }
    xml += "<fail_on_error>";
    xml += BooleanText(command.fail_on_error);
    xml += "</fail_on_error></command>";
  }
  xml += "</commands></job>";
  return xml;
}

}  // namespace

Result<std::string> EncodeWord(const Batch& batch) {
  if (auto problem = FindProblem(batch, WordProblem); !problem.empty()) {
    return Result<std::string>::Failure(problem);
  }
  std::string word = PercentEncode(CompactDocument(batch));
  if (word.size() > kMaxWordBytes) {
    return Result<std::string>::Failure("the word is " + std::to_string(word.size()) +
                                        " bytes long; one argument may hold at most " +
                                        std::to_string(kMaxWordBytes) + " bytes, so split the batch");
  }
  return word;
}

Result<std::string> WriteReadable(const Batch& batch) {
  if (auto problem = FindProblem(batch, ReadableProblem); !problem.empty()) {
    return Result<std::string>::Failure(problem);
  }
  std::string xml(kDeclaration);
  xml += "\n<job>\n";
  if (batch.empty()) {
    xml += "  <commands/>\n";
  } else {
    xml += "  <commands>\n";
    for (const auto& command : batch) {
      xml += "    <command>\n";
      xml += "      <tool_path>" + EscapeText(command.tool_path) + "</tool_path>\n";
      if (!command.values.empty()) {
        xml += "      <arguments>\n";
        for (const auto& value : command.values) {
          xml += "        <argument><value>" + EscapeText(value) + "</value></argument>\n";
        }
        xml += "      </arguments>\n";
      }
      xml += "      <fail_on_error>";
      xml += BooleanText(command.fail_on_error);
      xml += "</fail_on_error>\n";
      xml += "    </command>\n";
    }
    xml += "  </commands>\n";
  }
  xml += "</job>\n";
  return xml;
}

}  // namespace cmdrunner
