#pragma once

#include <string>
#include <vector>

namespace client_testing {

// What a program did, as its parent sees it.
struct ProcessResult {
  int status = -1;  // exit status 0-255, or 128 + the signal that ended it
  std::string out, err;
};

// Runs the program with exactly these arguments (empty ones included), no
// shell, standard input read from `input`, extra_env added to ours
// ("NAME=value"), and the working directory given (ours when empty).
ProcessResult RunProgram(const std::string& path, const std::vector<std::string>& args, const std::string& input = "",
                         const std::vector<std::string>& extra_env = {}, const std::string& working_directory = "");

// A fresh folder, removed with all it holds when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

// The argv recorder (argv_recorder.cpp) appends one record per run to the
// file named by $ARGV_RECORD and exits with the number after "exit" in its
// own file name, 0 when there is none. Symbolic links to it give it any
// name. Records give each run's whole argv, argv[0] included.
std::string ArgvRecorderPath();
void LinkRecorder(const std::string& link_path);
std::vector<std::vector<std::string>> ReadRecords(const std::string& record_file);

}  // namespace client_testing
