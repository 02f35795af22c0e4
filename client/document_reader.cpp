// Reading command documents, as words and in readable form.
//
// A document is read by the rules cmdrunner reads it with, and refused where
// those rules would quietly give something its writer can hardly have meant
// (a misspelt element that cmdrunner skips, a comment that cuts a value
// short, a second tool_path that cmdrunner never looks at). So whatever this
// reader accepts, cmdrunner reads the same commands out of it (out of the
// word made from it, for a readable document).
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <climits>
#include <cmdrunner/client.h>
#include <memory>

#include "utf8_text.h"

namespace cmdrunner {

namespace {

enum class Texts { kPlain, kPercentEncoded };

// Each step returns what went wrong, empty when nothing did.
using Problem = std::string;

std::string Name(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::string Content(const xmlNode* node) {
  return node->content ? reinterpret_cast<const char*>(node->content) : std::string();
}

std::string Line(const xmlNode* node) {
  long line = xmlGetLineNo(node);
  // The parser numbers a text by the line it ends on; say where it starts.
  if (node->type == XML_TEXT_NODE && node->content) {
    const xmlChar* text = node->content;
    line -= static_cast<long>(std::count(text, text + xmlStrlen(text), '\n'));
  }
  return "line " + std::to_string(line) + ": ";
}

bool IsText(const xmlNode* node) { return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE; }

bool IsBlank(const xmlNode* node) {
  if (!IsText(node)) return false;
  for (const char c : Content(node)) {
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
  }
  return true;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// cmdrunner finds its elements by plain name; one in a namespace is never found.
Problem CheckPlainName(const xmlNode* element) {
  if (!element->ns) return Problem();
  return Line(element) + "element <" + Name(element) + "> is in a namespace; cmdrunner only finds elements without one";
}

// The start of a text, on one line, short enough for a message.
std::string Excerpt(std::string text) {
  constexpr size_t kLength = 40;
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  if (text.size() <= kLength) return text;
  size_t cut = kLength;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole characters only
  return text.substr(0, cut) + "...";
}

Problem CheckNoStrayText(const xmlNode* node, std::string_view parent) {
  if (!IsText(node) || IsBlank(node)) return Problem();
  return Line(node) + "text directly inside <" + std::string(parent) + ">: \"" + Excerpt(Content(node)) + "\"";
}

// The child element of that name, left nullptr when there is none. A second
// one is refused, since cmdrunner would read the first alone.
Problem FindOnlyChild(const xmlNode* parent, std::string_view name, std::string_view where, const xmlNode*& found) {
  found = nullptr;
  for (const xmlNode* child = parent->children; child; child = child->next) {
    if (child->type != XML_ELEMENT_NODE || Name(child) != name) continue;
    if (found) return Line(child) + std::string(where) + " has a second <" + std::string(name) + ">";
    found = child;
  }
  return Problem();
}

// The text of an element as cmdrunner takes it (the value of its first child
// node), when that is all of its content.
Problem ReadElementText(const xmlNode* element, std::string_view where, std::string& text) {
  text.clear();
  const xmlNode* first = element->children;
  if (!first) return Problem();
  if (first->next || !IsText(first)) {
    return Line(element) + std::string(where) + ": <" + Name(element) +
           "> must hold plain text only (cmdrunner reads no further than its first node)";
  }
  text = Content(first);
  return Problem();
}

class DocumentReader {
 public:
  explicit DocumentReader(Texts texts) : texts_(texts) {}

  Problem ReadRoot(const xmlNode* root, Batch& batch) const {
    if (!root || root->type != XML_ELEMENT_NODE) {
      return "the document does not begin with its top element; cmdrunner would find no <commands>";
    }
    if (Name(root) == "commands") {
      return "<commands> is the top element, but cmdrunner looks for it inside the top element: "
             "wrap it, as in <job><commands>...</commands></job>";
    }
    const xmlNode* commands = nullptr;
    for (const xmlNode* child = root->children; child; child = child->next) {
      if (auto problem = CheckNoStrayText(child, Name(root)); !problem.empty()) return problem;
      if (child->type != XML_ELEMENT_NODE) continue;
      if (auto problem = CheckPlainName(child); !problem.empty()) return problem;
      if (Name(child) != "commands") {
        return Line(child) + "unexpected element <" + Name(child) + "> in <" + Name(root) +
               ">; only <commands> belongs there";
      }
      if (commands) return Line(child) + "a second <commands>; cmdrunner would read the first only";
      commands = child;
    }
    if (!commands) return "no <commands> element inside <" + Name(root) + ">";

    for (const xmlNode* child = commands->children; child; child = child->next) {
      if (auto problem = CheckNoStrayText(child, "commands"); !problem.empty()) return problem;
      if (child->type != XML_ELEMENT_NODE) continue;
      if (!EqualsIgnoringAsciiCase(Name(child), "command")) {
        return Line(child) + "unexpected element <" + Name(child) + "> in <commands>; cmdrunner would skip it";
      }
      if (auto problem = CheckPlainName(child); !problem.empty()) return problem;
      Command command;
      if (auto problem = ReadCommand(child, batch.size(), command); !problem.empty()) return problem;
      batch.push_back(std::move(command));
    }
    return Problem();
  }

 private:
  Problem ReadCommand(const xmlNode* element, size_t index, Command& command) const {
    const std::string where = "command " + std::to_string(index + 1);
    for (const xmlNode* child = element->children; child; child = child->next) {
      if (auto problem = CheckNoStrayText(child, Name(element)); !problem.empty()) return problem;
      if (child->type != XML_ELEMENT_NODE) continue;
      const std::string name = Name(child);
      if (name != "tool_path" && name != "arguments" && name != "fail_on_error") {
        return Line(child) + where + ": unexpected element <" + name +
               ">; a command holds <tool_path>, <arguments> and <fail_on_error>";
      }
      if (auto problem = CheckPlainName(child); !problem.empty()) return problem;
    }

    const xmlNode *tool_path, *arguments, *fail_on_error;
    if (auto problem = FindOnlyChild(element, "tool_path", where, tool_path); !problem.empty()) return problem;
    if (auto problem = FindOnlyChild(element, "arguments", where, arguments); !problem.empty()) return problem;
    if (auto problem = FindOnlyChild(element, "fail_on_error", where, fail_on_error); !problem.empty()) {
      return problem;
    }
    if (!tool_path) return Line(element) + where + " has no <tool_path>";
    if (auto problem = ReadDecodedText(tool_path, where + ", tool_path", command.tool_path); !problem.empty()) {
      return problem;
    }
    if (arguments) {
      if (auto problem = ReadArguments(arguments, where, command.values); !problem.empty()) return problem;
    }
    if (fail_on_error) return ReadBoolean(fail_on_error, where, command.fail_on_error);
    return Problem();
  }

  Problem ReadArguments(const xmlNode* arguments, const std::string& where, std::vector<std::string>& values) const {
    for (const xmlNode* item = arguments->children; item; item = item->next) {
      const std::string place = where + ", value " + std::to_string(values.size() + 1);
      if (item->type != XML_ELEMENT_NODE) {
        if (auto problem = CheckNoStrayText(item, "arguments"); !problem.empty()) return problem;
        // cmdrunner makes one value of every node in <arguments>; in a word
        // we keep that, in a readable document it is only layout.
        if (texts_ == Texts::kPercentEncoded) values.emplace_back();
        continue;
      }
      if (auto problem = CheckPlainName(item); !problem.empty()) return problem;
      if (Name(item) == "value") {
        return Line(item) + place +
               ": <value> stands directly inside <arguments>, where cmdrunner finds no value in it; "
               "write each argument as <argument><value>...</value></argument>";
      }
      const xmlNode* value = nullptr;
      for (const xmlNode* child = item->children; child; child = child->next) {
        if (auto problem = CheckNoStrayText(child, Name(item)); !problem.empty()) return problem;
        if (child->type != XML_ELEMENT_NODE) continue;
        if (auto problem = CheckPlainName(child); !problem.empty()) return problem;
        if (Name(child) != "value") {
          return Line(child) + place + ": unexpected element <" + Name(child) + "> in <" + Name(item) +
                 ">; an argument item holds one <value>";
        }
        if (value) return Line(child) + place + ": a second <value> in <" + Name(item) + ">";
        value = child;
      }
      if (!value) {
        return Line(item) + place + ": <" + Name(item) +
               "> holds no <value>; write each argument as <argument><value>...</value></argument>";
      }
      std::string text;
      if (auto problem = ReadDecodedText(value, place, text); !problem.empty()) return problem;
      values.push_back(std::move(text));
    }
    return Problem();
  }

  static Problem ReadBoolean(const xmlNode* element, const std::string& where, bool& result) {
    std::string text;
    if (auto problem = ReadElementText(element, where + ", fail_on_error", text); !problem.empty()) return problem;
    result = false;
    if (text.empty()) return Problem();
    for (const char* word : {"true", "yes", "on", "1"}) {
      if (EqualsIgnoringAsciiCase(text, word)) {
        result = true;
        return Problem();
      }
    }
    for (const char* word : {"false", "no", "off", "0"}) {
      if (EqualsIgnoringAsciiCase(text, word)) return Problem();
    }
    return Line(element) + where + ": fail_on_error \"" + Excerpt(text) + "\" is not true or false";
  }

  Problem ReadDecodedText(const xmlNode* element, const std::string& where, std::string& text) const {
    if (auto problem = ReadElementText(element, where, text); !problem.empty()) return problem;
    if (texts_ == Texts::kPlain) return Problem();
    auto decoded = PercentDecode(text);
    if (!decoded) return Line(element) + where + ": " + decoded.error();
    if (!IsUtf8(*decoded)) {
      return Line(element) + where + " is not UTF-8 text once decoded (cmdrunner would read it as ISO-8859-1)";
    }
    if (decoded->find('\0') != std::string::npos) {
      return Line(element) + where + " holds a NUL byte once decoded, which no path or argument can carry";
    }
    text = *std::move(decoded);
    return Problem();
  }

  Texts texts_;
};

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
struct ContextFree {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

// Called when the parser meets <!DOCTYPE: a command document never needs
// one, and stopping here keeps entities of any kind out.
void RefuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

// The parser goes on after its first error and reports the later ones it
// runs into; the first is the one that tells the writer what to fix.
struct FirstError {
  std::string message;
};

void KeepFirstError(void* user_data, xmlErrorPtr error) {
  auto* context = static_cast<xmlParserCtxtPtr>(user_data);
  auto* first = static_cast<FirstError*>(context->_private);
  if (!first || !first->message.empty() || !error || error->level < XML_ERR_ERROR || !error->message) return;
  first->message = "line " + std::to_string(error->line) + ": " + error->message;
  while (!first->message.empty() && first->message.back() == '\n') first->message.pop_back();
}

Result<Batch> Read(std::string_view xml, Texts texts, const char* forced_encoding) {
  if (xml.find('\0') != std::string_view::npos) return Result<Batch>::Failure("the document holds a NUL byte");
  if (xml.size() > static_cast<size_t>(INT_MAX)) return Result<Batch>::Failure("the document is too large");
  xmlInitParser();
  std::unique_ptr<xmlParserCtxt, ContextFree> context(xmlNewParserCtxt());
  if (!context) return Result<Batch>::Failure("out of memory");
  context->sax->internalSubset = RefuseDocumentType;
  FirstError first_error;
  context->_private = &first_error;
  context->userData = context.get();
  context->sax->serror = KeepFirstError;
  constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  std::unique_ptr<xmlDoc, DocumentFree> document(
      xmlCtxtReadMemory(context.get(), xml.data(), static_cast<int>(xml.size()), nullptr, forced_encoding, kOptions));
  if (context->errNo == XML_ERR_USER_STOP) {
    return Result<Batch>::Failure("a document type declaration (<!DOCTYPE>) is not accepted");
  }
  if (!document || !context->wellFormed) {
    return Result<Batch>::Failure(first_error.message.empty() ? "not well-formed XML" : first_error.message);
  }
  // cmdrunner takes the first node of the word's document for its top
  // element; the compact document we write begins with it. A readable
  // document may well open with a comment.
  const xmlNode* root = texts == Texts::kPlain ? xmlDocGetRootElement(document.get()) : document->children;
  Batch batch;
  if (auto problem = DocumentReader(texts).ReadRoot(root, batch); !problem.empty()) {
    return Result<Batch>::Failure(problem);
  }
  return batch;
}

}  // namespace

Result<Batch> DecodeWord(std::string_view word) {
  auto xml = PercentDecode(word);
  if (!xml) return Result<Batch>::Failure(xml.error());
  // cmdrunner reads the decoded word as UTF-8 whatever its declaration says.
  if (!IsUtf8(*xml)) return Result<Batch>::Failure("the decoded word is not UTF-8 text");
  return Read(*xml, Texts::kPercentEncoded, "UTF-8");
}

Result<Batch> ReadReadable(std::string_view xml) { return Read(xml, Texts::kPlain, nullptr); }

}  // namespace cmdrunner
