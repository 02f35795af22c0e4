#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

extern char** environ;

namespace platform {

namespace {

std::string ErrorText(int error) { return std::strerror(error); }

// A pipe end at 0, 1 or 2 (possible when the caller started us with one of
// those closed) would clash with the child's dup2 onto its standard streams.
UniqueFd AboveStandardStreams(UniqueFd fd) {
  if (fd.Get() > STDERR_FILENO) return fd;
  const int moved = ::fcntl(fd.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  if (moved < 0) throw ProcessError("PipeError", "fcntl(F_DUPFD_CLOEXEC) failed: " + ErrorText(errno));
  return UniqueFd(moved);
}

void MakePipe(UniqueFd& read_end, UniqueFd& write_end) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw ProcessError("PipeError", "pipe2 failed: " + ErrorText(errno));
  UniqueFd read_fd(fds[0]), write_fd(fds[1]);
  // Room for a tool's whole write (coreutils write 128 KiB at a time) lets
  // the tool and our reads run side by side instead of taking turns: with
  // the default 64 KiB a large output costs a sleep and a wake-up on both
  // sides for every read. Only a hint: without it the pipe works the same.
  constexpr int kPipeSize = 256 * 1024;
  ::fcntl(read_fd.Get(), F_SETPIPE_SZ, kPipeSize);
  read_end = AboveStandardStreams(std::move(read_fd));
  write_end = AboveStandardStreams(std::move(write_fd));
}

class SpawnFileActions {
 public:
  SpawnFileActions() {
    if (int rc = posix_spawn_file_actions_init(&actions_)) throw LaunchError("file actions: " + ErrorText(rc));
  }
  ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  posix_spawn_file_actions_t* Get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
 public:
  SpawnAttributes() {
    if (int rc = posix_spawnattr_init(&attributes_)) throw LaunchError("attributes: " + ErrorText(rc));
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  posix_spawnattr_t* Get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

// Every signal, glibc's two internal ones included: its sigfillset and
// sigaddset leave those out, and its posix_spawn then leaves them ignored in
// the child, where an ignored disposition survives execve.
void FillWithEverySignal(sigset_t* set) {
  sigfillset(set);
#ifdef __GLIBC__
  constexpr size_t kBitsPerWord = 8 * sizeof(set->__val[0]);
  for (int signal = 1; signal < SIGRTMIN; ++signal) {
    const auto bit = static_cast<size_t>(signal - 1);
    set->__val[bit / kBitsPerWord] |= 1UL << (bit % kBitsPerWord);
  }
#endif
}

void Check(int rc, const char* what) {
  if (rc != 0) throw LaunchError(std::string(what) + ": " + ErrorText(rc));
}

}  // namespace

std::span<char> StreamSink::Room() {
  constexpr size_t kScratch = 64 * 1024;
  if (!scratch_) scratch_ = std::make_unique_for_overwrite<char[]>(kScratch);
  return {scratch_.get(), kScratch};
}

void StreamSink::Commit(size_t count) { Append(std::string_view(scratch_.get(), count)); }

ChildProcess::ChildProcess() {
  MakePipe(output_read_, output_write_);
  MakePipe(error_read_, error_write_);
}

ChildProcess::~ChildProcess() {
  output_read_.Reset();
  error_read_.Reset();
  output_write_.Reset();
  error_write_.Reset();
  if (pid_ > 0) {
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
}

void ChildProcess::Launch(const std::string& path, const std::vector<std::string>& arguments) {
  if (path.find('\0') != std::string::npos) throw LaunchError("the tool path holds a NUL byte");
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const auto& argument : arguments) {
    if (argument.empty()) continue;
    if (argument.find('\0') != std::string::npos) throw LaunchError("an argument holds a NUL byte");
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);

  SpawnFileActions actions;
  Check(posix_spawn_file_actions_adddup2(actions.Get(), output_write_.Get(), STDOUT_FILENO), "adddup2");
  Check(posix_spawn_file_actions_adddup2(actions.Get(), error_write_.Get(), STDERR_FILENO), "adddup2");
  // Whatever the caller left open, even without close-on-exec, stays with us.
  Check(posix_spawn_file_actions_addclosefrom_np(actions.Get(), STDERR_FILENO + 1), "addclosefrom");

  SpawnAttributes attributes;
  sigset_t none, all;
  sigemptyset(&none);
  FillWithEverySignal(&all);
  Check(posix_spawnattr_setsigmask(attributes.Get(), &none), "setsigmask");
  Check(posix_spawnattr_setsigdefault(attributes.Get(), &all), "setsigdefault");
  Check(posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF), "setflags");

  pid_t pid = -1;
  Check(posix_spawn(&pid, path.c_str(), actions.Get(), attributes.Get(), argv.data(), environ), "posix_spawn");
  pid_ = pid;
  output_write_.Reset();
  error_write_.Reset();
}

void ChildProcess::Drain(StreamSink& output, StreamSink& error) {
  struct Stream {
    UniqueFd* fd;
    StreamSink* sink;
  } streams[2] = {{&output_read_, &output}, {&error_read_, &error}};

  for (;;) {
    pollfd fds[2];
    Stream* polled[2];
    nfds_t count = 0;
    for (auto& stream : streams) {
      if (!*stream.fd) continue;
      fds[count] = {stream.fd->Get(), POLLIN, 0};
      polled[count++] = &stream;
    }
    if (count == 0) return;
    if (::poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      // Without poll we can still read the streams one after the other.
      for (nfds_t i = 0; i < count; ++i) fds[i].revents = POLLIN;
    }
    for (nfds_t i = 0; i < count; ++i) {
      if (fds[i].revents == 0) continue;
      if ((fds[i].revents & POLLIN) == 0 && (fds[i].revents & POLLHUP) != 0) {
        // Every writer is gone and nothing is left to read: end of file,
        // without asking the sink for room it will not need.
        polled[i]->fd->Reset();
        continue;
      }
      // Straight into the sink's own memory, where the bytes stay.
      const std::span<char> room = polled[i]->sink->Room();
      const ssize_t n = ::read(fds[i].fd, room.data(), room.size());
      if (n > 0) {
        polled[i]->sink->Commit(static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        polled[i]->fd->Reset();  // end of file, or a read that cannot go on
      }
    }
  }
}

int ChildProcess::Wait() {
  if (pid_ <= 0) throw ProcessError("WaitError", "no tool was started");
  int status = 0;
  for (;;) {
    if (::waitpid(pid_, &status, 0) >= 0) break;
    if (errno == EINTR) continue;
    const int error = errno;
    pid_ = -1;
    throw ProcessError("WaitError", "waitpid failed: " + ErrorText(error));
  }
  pid_ = -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return status;
}

void PrepareProcessSignals() {
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  action.sa_handler = SIG_DFL;
  ::sigaction(SIGCHLD, &action, nullptr);
  action.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &action, nullptr);
}

}  // namespace platform
