// A stand-in tool for the tests: records the argv it was given and exits
// with the status its own name asks for ("...exit3" exits with 3).
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  std::string record = std::to_string(argc) + "\n";
  for (int i = 0; i < argc; ++i) {
    record.append(argv[i]);
    record.push_back('\0');
  }
  if (const char* file = std::getenv("ARGV_RECORD")) {
    const int fd = ::open(file, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) return 99;
    ::close(fd);
  }
  const std::string name = argv[0];
  const size_t exit_at = name.rfind("exit");
  if (exit_at == std::string::npos || name.find('/', exit_at) != std::string::npos) return 0;
  return std::atoi(name.c_str() + exit_at + 4);
}
