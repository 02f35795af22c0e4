#include "platform/file_item.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(FileItem, ExistingItemsOfAnyKind) {
  for (const char* path : {"/bin/sh", "/tmp", "/dev/null"}) {
    const auto item = platform::FileItem::FromPosixPath(path);
    ASSERT_TRUE(item) << path;
    EXPECT_TRUE(item->Exists());
    EXPECT_EQ(item->UnixPath(), path);
  }
}

TEST(FileItem, NothingThere) {
  for (std::string path : {std::string(), std::string("/no/such/item"), std::string("/bin/sh\0x", 9),
                           std::string("/bin/sh/")}) {
    EXPECT_FALSE(platform::FileItem::FromPosixPath(path)) << path;
  }
}

TEST(FileItem, RelativePathIsTakenFromTheWorkingDirectory) {
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof cwd));
  ASSERT_EQ(chdir("/bin"), 0);
  char bin[4096];  // /bin may be a link to /usr/bin
  ASSERT_TRUE(getcwd(bin, sizeof bin));
  const auto item = platform::FileItem::FromPosixPath("sh");
  const auto missing = platform::FileItem::FromPosixPath("no-such-tool");
  ASSERT_EQ(chdir(cwd), 0);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->UnixPath(), std::string(bin) + "/sh");
  EXPECT_FALSE(missing);
}

}  // namespace
