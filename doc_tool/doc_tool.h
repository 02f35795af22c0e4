#pragma once

#include <ostream>
#include <string>
#include <vector>

// The cmdrunner-doc program: args[0] is the program's own path. Reads
// standard input from the descriptor in, writes its results to out and its
// errors to err, and returns the exit status: 0 on success, 1 when a
// document or word cannot be read or written, 2 for a usage error.
int RunDocTool(const std::vector<std::string>& args, int in, std::ostream& out, std::ostream& err);
