#include "doc_tool/explain.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "platform/debug_log.h"
#include "platform/file_item.h"
#include "platform/text.h"
#include "platform/unique_fd.h"
#include "runner/command_reading.h"
#include "runner/messages.h"
#include "xmldata/core_engine.h"
#include "xmldata/xml_extension_modified.h"

namespace {

void Outcome(std::ostream& out, int status, std::string_view message) {
  out << "outcome: status " << status << " (a parent sees " << (status & 0xFF) << ")\n";
  out << "message: " << Quote(message) << "\n";
}

// How many commands come after the one where the run stops.
void NotReached(std::ostream& out, const platform::XmlNodeList& children, size_t stop) {
  size_t later = 0;
  for (size_t j = stop + 1; j < children.size(); ++j) {
    if (platform::EqualsIgnoringCase(children[j].Name(), "command")) ++later;
  }
  if (later > 0) out << "not reached: " << later << " more command" << (later == 1 ? "" : "s") << "\n";
}

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
}

// Why the kernel would refuse to start the file; empty when it would start
// it, as far as can be told without trying.
std::string StartProblem(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return "it cannot be examined";
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if (::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) != 0) return "it may not be executed";

  // cmdrunner starts the file itself, never through a shell: a text file
  // needs its own #! line. A file we may not read is given the benefit of
  // the doubt.
  const platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return std::string();
  char head[256];
  ssize_t n;
  do {
    n = ::read(fd.Get(), head, sizeof head);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return std::string();
  const std::string_view start(head, static_cast<size_t>(n));
  if (start.starts_with("\x7f" "ELF")) return std::string();
  if (!start.starts_with("#!")) return "it is neither a program nor a script with a #! line";
  size_t begin = 2;
  while (begin < start.size() && (start[begin] == ' ' || start[begin] == '\t')) ++begin;
  size_t end = begin;
  while (end < start.size() && start[end] != ' ' && start[end] != '\t' && start[end] != '\n') ++end;
  const std::string interpreter(start.substr(begin, end - begin));
  if (interpreter.empty() || !IsExecutableFile(interpreter)) {
    return "its #! line names no interpreter that can be started: " + Quote(interpreter);
  }
  return std::string();
}

}  // namespace

std::string Quote(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "\"";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\t': quoted += "\\t"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      default:
        if (b < 0x20 || b == 0x7F) {
          quoted += "\\x";
          quoted += kHex[b >> 4];
          quoted += kHex[b & 0x0F];
        } else {
          quoted += c;
        }
    }
  }
  quoted += '"';
  return quoted;
}

void Explain(const std::vector<std::string>& words, std::ostream& out) {
  // The words stand where cmdrunner's own arguments would, after its path.
  std::vector<std::string> args{"cmdrunner"};
  args.insert(args.end(), words.begin(), words.end());
  const auto candidates = NonBlankArguments(args);
  if (candidates.empty()) return Outcome(out, -101, messages::kNoArguments);
  if (candidates.size() > 1) return Outcome(out, -102, messages::kInvalidArgumentCount);

  // What cmdrunner would write to its debug log while reading is shown, not logged.
  std::vector<std::string> logged;
  std::optional<XMLData> document;
  {
    const platform::ScopedDebugLogSink sink([&logged](std::string_view line) { logged.emplace_back(line); });
    document = XMLExtensionModified::LoadXMLStr(CoreEngine::DecodingFromURLVRD(candidates[0]));
  }
  for (const auto& line : logged) out << "debug log: " << Quote(line) << "\n";
  const auto commands = document->GetNode("commands");
  if (!commands) return Outcome(out, -103, messages::kNoCommands);

  std::vector<size_t> stopping;  // commands whose failure would stop the run
  const auto children = commands->Children();
  size_t position = 0;
  for (size_t i = 0; i < children.size(); ++i) {
    const auto& child = children[i];
    const auto entry = ReadCommand(child);
    if (!entry) {
      if (child.IsElement()) out << "skipped: <" << child.Name() << "> is not a command\n";
      continue;
    }
    const auto& [command, tool_path, values] = *entry;
    ++position;
    out << "command " << position << "\n";
    out << "  tool_path: " << Quote(tool_path) << "\n";

    const auto tool = platform::FileItem::FromPosixPath(tool_path);
    if (!tool || !tool->Exists()) {
      out << "  tool: missing\n";
      NotReached(out, children, i);
      return Outcome(out, -104, messages::ToolNotFound(tool_path));
    }

    std::string start_problem = StartProblem(tool->UnixPath());
    for (size_t v = 0; v < values.size() && start_problem.empty(); ++v) {
      if (values[v].find('\0') != std::string::npos) {
        start_problem = "value " + std::to_string(v + 1) + " holds a NUL byte, which no argument can carry";
      }
    }
    out << "  tool: " << Quote(tool->UnixPath()) << " exists";
    out << (start_problem.empty() ? " and can be started" : " but cannot be started: " + start_problem) << "\n";
    out << "  argv[0]: " << Quote(tool->UnixPath()) << "\n";
    size_t argc = 1;
    for (size_t v = 0; v < values.size(); ++v) {
      if (values[v].empty()) {
        out << "  left out: value " << v + 1 << " (empty)\n";
        continue;
      }
      out << "  argv[" << argc++ << "]: " << Quote(values[v]) << "\n";
    }

    const bool fail_on_error = command.GetBoolean("fail_on_error", false);
    out << "  fail_on_error: " << (fail_on_error ? "true" : "false")
        << (command.HasValue("fail_on_error") ? "" : " (not given)") << "\n";
    if (!start_problem.empty()) {
      out << "  start fails: status -1, result " << Quote(messages::kLaunchFailed) << "\n";
      if (fail_on_error) {
        NotReached(out, children, i);
        const std::string report = messages::CommandErrorReportHead(-1, tool->UnixPath(), values);
        return Outcome(out, -1, report + std::string(messages::kLaunchFailed));
      }
      continue;
    }
    if (fail_on_error) {
      out << "  if the tool fails: cmdrunner stops with the command-error report and the tool's status\n";
      stopping.push_back(position);
    } else {
      out << "  if the tool fails: cmdrunner goes on\n";
    }
  }

  if (stopping.empty()) {
    out << "outcome: status 0 (a parent sees 0), whatever the tools' statuses\n";
    return;
  }
  std::vector<std::string> numbers;
  for (const size_t n : stopping) numbers.push_back(std::to_string(n));
  std::string commands_text = numbers.back();
  if (numbers.size() > 1) {
    numbers.pop_back();
    commands_text = platform::Join(numbers, ", ") + " or " + commands_text;
  }
  out << "outcome: status 0 (a parent sees 0) if every tool succeeds; a failing tool of command " << commands_text
      << " stops the run with its status and the command-error report\n";
}
