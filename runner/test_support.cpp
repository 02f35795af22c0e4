#include "runner/test_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

extern char** environ;

namespace testing_support {

std::string PercentEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

std::string XmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string CommandDocument(const std::vector<Command>& commands) {
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><job><commands>";
  for (const auto& command : commands) {
    doc += "<command><tool_path>" + PercentEncode(command.tool_path) + "</tool_path>";
    if (!command.values.empty()) {
      doc += "<arguments>";
      for (const auto& value : command.values) doc += "<argument><value>" + PercentEncode(value) + "</value></argument>";
      doc += "</arguments>";
    }
    if (!command.fail_on_error.empty()) doc += "<fail_on_error>" + XmlEscape(command.fail_on_error) + "</fail_on_error>";
    doc += "</command>";
  }
  return doc + "</commands></job>";
}

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

ProcessResult RunProgram(const std::vector<std::string>& argv) {
  TempDir scratch;
  const std::string out_path = scratch.path() + "/stdout", err_path = scratch.path() + "/stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  ProcessResult result;
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = Slurp(out_path);
  result.err = Slurp(err_path);
  return result;
}

ProcessResult RunCmdrunner(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{CMDRUNNER_PATH};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunProgram(argv);
}

ProcessResult RunDocument(const std::string& document) { return RunCmdrunner({PercentEncode(document)}); }

ProcessResult RunCommands(const std::vector<Command>& commands) { return RunDocument(CommandDocument(commands)); }

std::string Report(int status, const std::string& command_line, const std::string& result) {
  return "Fatal Error: Command Error\nError Code: " + std::to_string(status) + "\nCommand: " + command_line +
         "\nResult: " + result;
}

void ExpectOutcome(const ProcessResult& r, int status, const std::string& out) {
  EXPECT_EQ(r.exit_status, status);
  EXPECT_EQ(r.out, out);
  EXPECT_EQ(r.err, "");
}

TempDir::TempDir() {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/cmdrunner-test-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::WriteScript(const std::string& name, const std::string& body) const {
  const std::string path = path_ + "/" + name;
  std::ofstream(path) << "#!/bin/sh\n" << body;
  chmod(path.c_str(), 0755);
  return path;
}

std::string TempDir::RecordingTool(const std::string& name, int status) const {
  return WriteScript(name, "{ echo \"" + name + "\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } >> '" +
                               path_ + "/record.txt'\nexit " + std::to_string(status) + "\n");
}

std::string TempDir::ReadFile(const std::string& name) const { return Slurp(path_ + "/" + name); }

}  // namespace testing_support
