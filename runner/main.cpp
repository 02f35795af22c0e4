#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/standard_streams.h"
#include "runner/app.h"

int main(int argc, char** argv) {
  platform::OpenMissingStandardStreams();
  platform::PrepareProcessSignals();
  std::vector<std::string> args(argv, argv + argc);
  App app;
  return app.Run(args);
}
