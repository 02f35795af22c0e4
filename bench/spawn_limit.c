// The floor for starting and reaping tools: COUNT times, posix_spawn of the
// program with its standard output and error on close-on-exec pipes, a poll
// loop that drains both to end of file, and waitpid. Nothing else.
#define _GNU_SOURCE
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: spawn_limit COUNT PROGRAM [ARG...]\n");
    return 2;
  }
  const long count = strtol(argv[1], NULL, 10);
  static char buffer[65536];
  int failures = 0;
  for (long i = 0; i < count; ++i) {
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
      perror("spawn_limit: pipe2");
      return 2;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    pid_t pid;
    const int rc = posix_spawn(&pid, argv[2], &actions, NULL, argv + 2, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (rc != 0) {
      fprintf(stderr, "spawn_limit: %s: %s\n", argv[2], strerror(rc));
      return 2;
    }
    struct pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open_streams = 2;
    while (open_streams > 0) {
      if (poll(fds, 2, -1) < 0) continue;
      for (int s = 0; s < 2; ++s) {
        if (fds[s].fd < 0 || fds[s].revents == 0) continue;
        if (read(fds[s].fd, buffer, sizeof buffer) <= 0) {
          close(fds[s].fd);
          fds[s].fd = -1;
          --open_streams;
        }
      }
    }
    int status;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
