#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// An item of the file system named by a POSIX path: a file, a folder or
// anything else that is there.
class FileItem {
 public:
  // The item at the path, or nothing when no item exists there. A relative
  // path is taken from the working directory (never from a search path); a
  // path with a NUL byte names nothing.
  static std::optional<FileItem> FromPosixPath(std::string_view path);

  // Whether the item still exists (symbolic links followed).
  bool Exists() const;

  // The item's absolute POSIX path. Symbolic links are kept as named.
  const std::string& UnixPath() const { return path_; }

 private:
  explicit FileItem(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace platform
