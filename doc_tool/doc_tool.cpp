#include "doc_tool/doc_tool.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmdrunner/client.h>
#include <cstring>

#include "doc_tool/explain.h"
#include "platform/unique_fd.h"

#ifndef CMDRUNNER_VERSION
#define CMDRUNNER_VERSION "unknown"
#endif

namespace {

constexpr char kProgram[] = "cmdrunner-doc";

constexpr char kUsage[] =
    "Usage: cmdrunner-doc encode [FILE|-]\n"
    "       cmdrunner-doc decode WORD|-\n"
    "       cmdrunner-doc explain WORD...\n"
    "       cmdrunner-doc --help | --version\n";

constexpr char kHelp[] =
    "Write, read and check the one-word command documents that cmdrunner takes.\n"
    "\n"
    "  encode [FILE|-]   read a readable command document (plain texts in\n"
    "                    tool_path and value) from FILE, or from standard input\n"
    "                    without FILE or with -, and print the word for cmdrunner\n"
    "  decode WORD|-     print the readable document of a word (- reads the word\n"
    "                    from standard input)\n"
    "  explain WORD...   dry run: tell what `cmdrunner WORD...` would do, for\n"
    "                    each command in order, starting nothing\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "Example:\n"
    "  cmdrunner \"$(cmdrunner-doc encode batch.xml)\"\n"
    "\n"
    "Exit status: 0 on success, 1 when a document or word cannot be read or\n"
    "written, 2 for a usage error. See cmdrunner-doc(1) and cmdrunner(1).\n";

int UsageError(std::ostream& err, const std::string& problem) {
  err << kProgram << ": " << problem << "\n" << kUsage << "Try '" << kProgram << " --help' for more information.\n";
  return 2;
}

int Failure(std::ostream& err, const std::string& problem) {
  err << kProgram << ": " << problem << "\n";
  return 1;
}

// The whole of what the descriptor gives; the reason when reading fails.
std::string ReadAll(int fd, std::string& text) {
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<size_t>(n));
    } else if (n == 0) {
      return std::string();
    } else if (errno != EINTR) {
      return std::strerror(errno);
    }
  }
}

// Reads the named file, or standard input for "-".
std::string ReadInput(const std::string& name, int in, std::string& text) {
  if (name == "-") return ReadAll(in, text);
  const platform::UniqueFd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return std::strerror(errno);
  return ReadAll(fd.Get(), text);
}

std::string Shown(const std::string& name) { return name == "-" ? "standard input" : name; }

int Encode(const std::vector<std::string>& operands, int in, std::ostream& out, std::ostream& err) {
  if (operands.size() > 1) return UsageError(err, "encode takes at most one FILE");
  const std::string name = operands.empty() ? "-" : operands[0];
  std::string xml;
  if (auto problem = ReadInput(name, in, xml); !problem.empty()) return Failure(err, Shown(name) + ": " + problem);
  const auto batch = cmdrunner::ReadReadable(xml);
  if (!batch) return Failure(err, Shown(name) + ": " + batch.error());
  const auto word = cmdrunner::EncodeWord(*batch);
  if (!word) return Failure(err, Shown(name) + ": " + word.error());
  out << *word << "\n";
  return 0;
}

int Decode(const std::vector<std::string>& operands, int in, std::ostream& out, std::ostream& err) {
  if (operands.size() != 1) return UsageError(err, "decode takes one WORD");
  std::string word;
  if (operands[0] == "-") {
    if (auto problem = ReadAll(in, word); !problem.empty()) return Failure(err, "standard input: " + problem);
    // A word holds no white space of its own; what ends it is a line end.
    while (!word.empty() && (word.back() == '\n' || word.back() == '\r')) word.pop_back();
  } else {
    word = operands[0];
  }
  const auto batch = cmdrunner::DecodeWord(word);
  if (!batch) return Failure(err, "the word cannot be decoded: " + batch.error());
  const auto xml = cmdrunner::WriteReadable(*batch);
  if (!xml) return Failure(err, "the word has no readable form: " + xml.error());
  out << *xml;
  return 0;
}

}  // namespace

int RunDocTool(const std::vector<std::string>& args, int in, std::ostream& out, std::ostream& err) {
  if (args.size() < 2) return UsageError(err, "missing command");
  const std::string& command = args[1];
  const std::vector<std::string> operands(args.begin() + 2, args.end());
  int status;
  if (command == "--help" || command == "-h") {
    out << kUsage << "\n" << kHelp;
    status = 0;
  } else if (command == "--version") {
    out << kProgram << " " << CMDRUNNER_VERSION << "\n";
    status = 0;
  } else if (command == "encode") {
    status = Encode(operands, in, out, err);
  } else if (command == "decode") {
    status = Decode(operands, in, out, err);
  } else if (command == "explain") {
    // The words are cmdrunner's arguments, taken as they stand: blank ones
    // and option-like ones included.
    Explain(operands, out);
    status = 0;
  } else {
    return UsageError(err, "unknown command '" + command + "'");
  }
  if (!out.flush()) return Failure(err, "write error on standard output");
  return status;
}
