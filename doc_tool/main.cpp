#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "doc_tool/doc_tool.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv, argv + argc);
  return RunDocTool(args, STDIN_FILENO, std::cout, std::cerr);
}
