// Runs a batch through cmdrunner from C++ with the client library: makes a
// folder, sets its mode and lists it, then prints the outcome.
//
//   g++ -std=c++20 client_example.cpp $(pkg-config --cflags --libs cmdrunner-client) -o client_example
//   ./client_example [CMDRUNNER [FOLDER]]
//
// CMDRUNNER defaults to the cmdrunner found on PATH, FOLDER to
// "/tmp/cmdrunner-client-example/my folder".
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmdrunner/client.h>
#include <cstring>
#include <iostream>
#include <string>

extern char** environ;

namespace {

// Runs cmdrunner with the word as its one argument (an argument list, no
// shell) and collects what it writes to standard output.
bool RunCmdrunner(const std::string& cmdrunner, const std::string& word, int& status, std::string& output) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  char* argv[] = {const_cast<char*>(cmdrunner.c_str()), const_cast<char*>(word.c_str()), nullptr};
  pid_t pid;
  const int rc = posix_spawnp(&pid, cmdrunner.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  if (rc != 0) {
    ::close(fds[0]);
    std::cerr << "cannot start " << cmdrunner << ": " << std::strerror(rc) << "\n";
    return false;
  }
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) != 0) {
    if (n > 0) output.append(buffer, static_cast<size_t>(n));
    else if (errno != EINTR) break;
  }
  ::close(fds[0]);
  int wait_status;
  while (::waitpid(pid, &wait_status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string cmdrunner = argc > 1 ? argv[1] : "cmdrunner";
  const std::string folder = argc > 2 ? argv[2] : "/tmp/cmdrunner-client-example/my folder";

  // Plain values: no XML, no percent-encoding by hand.
  const cmdrunner::Batch batch = {
      {"/bin/mkdir", {"-p", folder}, true},
      {"/bin/chmod", {"750", folder}, true},
      {"/bin/ls", {"-ld", folder}, true},
  };
  const auto word = cmdrunner::EncodeWord(batch);
  if (!word) {
    std::cerr << "cannot encode the batch: " << word.error() << "\n";
    return 1;
  }

  int status = 0;
  std::string output;
  if (!RunCmdrunner(cmdrunner, *word, status, output)) return 1;

  // The exit status is one byte: a tool's own status arrives as it is,
  // cmdrunner's negative statuses as 256 minus their size (-104 as 152).
  // The message on standard output tells which is which.
  if (status == 0) {
    std::cout << "all " << batch.size() << " commands ran; " << folder << " is ready\n";
    return 0;
  }
  std::cout << "cmdrunner ended with status " << status << "\n" << output << "\n";
  return 1;
}
