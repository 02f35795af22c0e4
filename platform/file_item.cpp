#include "platform/file_item.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

namespace platform {

namespace {

bool PathExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

std::optional<std::string> WorkingDirectory() {
  std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
  if (!cwd) return std::nullopt;
  return std::string(cwd.get());
}

}  // namespace

std::optional<FileItem> FileItem::FromPosixPath(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  std::string absolute;
  if (path.front() == '/') {
    absolute = path;
  } else {
    auto cwd = WorkingDirectory();
    if (!cwd) return std::nullopt;
    absolute = *cwd;
    if (absolute.back() != '/') absolute += '/';
    absolute += path;
  }
  if (!PathExists(absolute)) return std::nullopt;
  return FileItem(std::move(absolute));
}

bool FileItem::Exists() const { return PathExists(path_); }

}  // namespace platform
