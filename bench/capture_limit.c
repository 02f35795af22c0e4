// The straightforward C capture of one tool's standard output: read it all
// into one buffer grown by realloc doubling, then turn CRLF and a lone CR
// into LF in one pass, in place. Prints the number of bytes kept.
//   --discard  read the bytes and drop them: what moving them through the
//              pipe costs.
//   --huge     read into one block of address space reserved once and backed
//              by huge pages (madvise MADV_HUGEPAGE), replacing line endings
//              chunk by chunk as the bytes arrive: the huge-page hypothesis.
#define _GNU_SOURCE
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
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

// The same for a chunk that continues a text: *after_cr says whether the
// text so far ended in a CR. Writes to out, which may be the chunk itself.
static size_t ReplaceChunk(const char* in, size_t size, char* out, int* after_cr) {
  size_t kept = 0;
  int previous_cr = *after_cr;
  for (size_t i = 0; i < size; ++i) {
    const char c = in[i];
    if (c == '\r') {
      out[kept++] = '\n';
      previous_cr = 1;
    } else {
      if (c != '\n' || !previous_cr) out[kept++] = c;
      previous_cr = 0;
    }
  }
  *after_cr = previous_cr;
  return kept;
}

int main(int argc, char** argv) {
  const int discard = argc > 1 && strcmp(argv[1], "--discard") == 0;
  const int huge = argc > 1 && strcmp(argv[1], "--huge") == 0;
  char** tool = argv + 1 + discard + huge;
  if (!*tool) {
    fprintf(stderr, "usage: capture_limit [--discard | --huge] PROGRAM [ARG...]\n");
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
  if (huge) {
    const size_t reserved = (size_t)64 << 30;
    char* text = mmap(NULL, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (text == MAP_FAILED) {
      perror("capture_limit: mmap");
      return 2;
    }
    madvise(text, reserved, MADV_HUGEPAGE);
    int after_cr = 0;
    ssize_t n;
    while ((n = read(out[0], text + size, 1 << 20)) > 0) size += ReplaceChunk(text + size, (size_t)n, text + size, &after_cr);
    munmap(text, reserved);
  } else if (discard) {
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
