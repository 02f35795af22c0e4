#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// Percent-encodes every byte that is not an unreserved character.
std::string PercentEncode(std::string_view text);

// Escapes the XML specials of a text that goes into element content.
std::string XmlEscape(std::string_view text);

struct Command {
  std::string tool_path;
  std::vector<std::string> values;
  std::string fail_on_error;  // element text; empty leaves the element out
};

// A command document of these commands, with tool_path and value
// percent-encoded once (the inner layer), not yet encoded as a whole.
std::string CommandDocument(const std::vector<Command>& commands);

// What a caller sees of one finished process.
struct ProcessResult {
  int exit_status = -1;      // 0-255 as the parent sees it, or 128 + signal
  std::string out;           // exact standard output bytes
  std::string err;           // exact standard error bytes
};

// Runs the program with these arguments (argv[0] is the program) and waits.
// Standard output and standard error go to files of their own, so the
// harness shares no code with what it tests.
ProcessResult RunProgram(const std::vector<std::string>& argv);

// Runs the built cmdrunner with the given arguments after its path.
ProcessResult RunCmdrunner(const std::vector<std::string>& arguments);

// Runs the built cmdrunner on the document, percent-encoded as a whole.
ProcessResult RunDocument(const std::string& document);
ProcessResult RunCommands(const std::vector<Command>& commands);

// The command-error report as a caller reads it.
std::string Report(int status, const std::string& command_line, const std::string& result);

// The exit status and standard output expected, with nothing on standard error.
void ExpectOutcome(const ProcessResult& r, int status, const std::string& out);

// A scratch folder that is removed with everything in it when it goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes an executable /bin/sh script into the folder; returns its path.
  std::string WriteScript(const std::string& name, const std::string& body) const;
  // A script that appends its name and each argument, one per line
  // (bracketed, so empty and spaced words show), to record.txt, then exits
  // with the given status.
  std::string RecordingTool(const std::string& name, int status = 0) const;
  std::string ReadFile(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace testing_support
