#include "client/test_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace client_testing {

namespace {

void Check(int rc, const char* what) {
  if (rc != 0) throw std::runtime_error(std::string(what) + " failed: " + std::to_string(rc));
}

}  // namespace

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/cmdrunner-test.XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

ProcessResult RunProgram(const std::string& path, const std::vector<std::string>& args, const std::string& input,
                         const std::vector<std::string>& extra_env, const std::string& working_directory) {
  // Files rather than pipes: no draining to get right in the tests themselves.
  TempDir io;
  const std::string in = io / "in", out = io / "out", err = io / "err";
  WriteFile(in, input);

  std::vector<std::string> env_strings;
  for (char** e = environ; *e; ++e) env_strings.emplace_back(*e);
  for (const auto& e : extra_env) env_strings.push_back(e);
  std::vector<char*> env;
  for (auto& e : env_strings) env.push_back(e.data());
  env.push_back(nullptr);

  std::vector<std::string> argv_strings{path};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_strings) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  Check(posix_spawn_file_actions_init(&actions), "file actions");
  Check(posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0), "addopen");
  Check(posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), "addopen");
  Check(posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), "addopen");
  if (!working_directory.empty()) {
    Check(posix_spawn_file_actions_addchdir_np(&actions, working_directory.c_str()), "addchdir");
  }
  pid_t pid;
  const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  Check(rc, "posix_spawn");

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  ProcessResult result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(out);
  result.err = ReadFile(err);
  return result;
}

std::string ArgvRecorderPath() { return ARGV_RECORDER_PATH; }

void LinkRecorder(const std::string& link_path) {
  std::filesystem::create_symlink(ArgvRecorderPath(), link_path);
}

std::vector<std::vector<std::string>> ReadRecords(const std::string& record_file) {
  // Each record: the argument count in decimal, a line feed, then each
  // argument followed by a NUL byte.
  const std::string data = ReadFile(record_file);
  std::vector<std::vector<std::string>> records;
  size_t i = 0;
  while (i < data.size()) {
    const size_t eol = data.find('\n', i);
    if (eol == std::string::npos) throw std::runtime_error("torn record");
    const size_t count = std::stoul(data.substr(i, eol - i));
    i = eol + 1;
    std::vector<std::string> argv;
    for (size_t k = 0; k < count; ++k) {
      const size_t nul = data.find('\0', i);
      if (nul == std::string::npos) throw std::runtime_error("torn record");
      argv.push_back(data.substr(i, nul - i));
      i = nul + 1;
    }
    records.push_back(std::move(argv));
  }
  return records;
}

}  // namespace client_testing
