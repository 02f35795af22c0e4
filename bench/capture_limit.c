// The straightforward C capture of one tool's standard output: read it all
// into one buffer grown by realloc doubling, then turn CRLF and a lone CR
// into LF in one pass, in place. With --discard the bytes are read and
// dropped, which is what moving them through the pipe costs. Prints the
// number of bytes kept.
#define _GNU_SOURCE
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

static size_t ReplaceLineEndings(char* text, size_t size) {
  size_t kept = 0;
  for (size_t i = 0; i < size; ++i) {
    if (text[i] == '\r') {
      text[kept++] = '\n';
      if (i + 1 < size && text[i + 1] == '\n') ++i;
    } else {
      text[kept++] = text[i];
    }
  }
  return kept;
}

int main(int argc, char** argv) {
  int discard = argc > 1 && strcmp(argv[1], "--discard") == 0;
  char** tool = argv + 1 + discard;
  if (!*tool) {
    fprintf(stderr, "usage: capture_limit [--discard] PROGRAM [ARG...]\n");
    return 2;
  }
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    perror("capture_limit: pipe2");
    return 2;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  pid_t pid;
  const int rc = posix_spawn(&pid, tool[0], &actions, NULL, tool, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    fprintf(stderr, "capture_limit: %s: %s\n", tool[0], strerror(rc));
    return 2;
  }

  size_t size = 0;
  if (discard) {
    static char chunk[65536];
    ssize_t n;
    while ((n = read(out[0], chunk, sizeof chunk)) > 0) size += (size_t)n;
  } else {
    size_t capacity = 65536;
    char* text = malloc(capacity);
    for (;;) {
      if (size == capacity) {
        capacity *= 2;
        char* grown = realloc(text, capacity);
        if (!grown) {
          perror("capture_limit: realloc");
          return 2;
        }
        text = grown;
      }
      const ssize_t n = read(out[0], text + size, capacity - size);
      if (n <= 0) break;
      size += (size_t)n;
    }
    size = ReplaceLineEndings(text, size);
    free(text);
  }
  close(out[0]);
  int status;
  waitpid(pid, &status, 0);
  printf("%zu\n", size);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
