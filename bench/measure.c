// Runs a program (COUNT times in a row), waits for it with wait4 and writes
// one line to RESULT: elapsed wall seconds for all runs, the largest peak
// resident set in KiB that any run reached, and the last exit status.
// Starting the program with posix_spawn from this small process keeps our
// own footprint out of the peak figure, which survives execve.
#define _GNU_SOURCE
#include <errno.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

int main(int argc, char** argv) {
  long count = 1;
  const char* result_path = NULL;
  int opt;
  while ((opt = getopt(argc, argv, "+n:o:")) != -1) {
    if (opt == 'n') count = strtol(optarg, NULL, 10);
    else if (opt == 'o') result_path = optarg;
    else break;
  }
  if (optind >= argc || count < 1 || !result_path) {
    fprintf(stderr, "usage: measure [-n COUNT] -o RESULT PROGRAM [ARG...]\n");
    return 2;
  }
  char** child_argv = argv + optind;

  long peak_kib = 0;
  int status = 0;
  const double start = Now();
  for (long i = 0; i < count; ++i) {
    pid_t pid;
    int rc = posix_spawn(&pid, child_argv[0], NULL, NULL, child_argv, environ);
    if (rc != 0) {
      fprintf(stderr, "measure: cannot start %s: %s\n", child_argv[0], strerror(rc));
      return 2;
    }
    struct rusage usage;
    while (wait4(pid, &status, 0, &usage) < 0) {
      if (errno != EINTR) {
        perror("measure: wait4");
        return 2;
      }
    }
    if (usage.ru_maxrss > peak_kib) peak_kib = usage.ru_maxrss;
  }
  const double elapsed = Now() - start;

  FILE* out = fopen(result_path, "w");
  if (!out) {
    perror("measure: result file");
    return 2;
  }
  const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  fprintf(out, "%.6f %ld %d\n", elapsed, peak_kib, exit_status);
  return fclose(out) == 0 ? 0 : 2;
}
