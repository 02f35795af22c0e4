// What a new page of memory costs on this machine: touches every 4 KiB page
// of a fresh 256 MiB block, once on ordinary pages and once on a block
// advised to use huge pages, and prints microseconds per 4 KiB for each.
#define _GNU_SOURCE
#include <stdio.h>
#include <sys/mman.h>
#include <time.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

static double MicrosecondsPerPage(int huge) {
  const size_t size = (size_t)256 << 20, align = (size_t)2 << 20;
  char* block = mmap(NULL, size + align, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return -1;
  char* start = (char*)(((size_t)block + align - 1) & ~(align - 1));
  madvise(start, size, huge ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
  const double begin = Now();
  for (size_t i = 0; i < size; i += 4096) start[i] = 1;
  const double elapsed = Now() - begin;
  munmap(block, size + align);
  return elapsed * 1e6 / (double)(size / 4096);
}

int main(void) {
  const double small = MicrosecondsPerPage(0);
  const double huge = MicrosecondsPerPage(1);
  printf("%.3f %.3f\n", small, huge);
  return 0;
}
