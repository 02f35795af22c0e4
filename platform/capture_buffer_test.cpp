#include "platform/capture_buffer.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/capture_sink.h"

namespace {

using platform::CaptureBuffer;
using platform::CaptureSink;

// Fills the buffer up to total bytes through Room and Commit, with a known
// pattern, in reads of varying size as a pipe delivers them.
void FillTo(CaptureBuffer& buffer, size_t total) {
  size_t step = 1;
  while (buffer.size() < total) {
    const auto room = buffer.Room(1);
    const size_t n = std::min({room.size(), step, total - buffer.size()});
    for (size_t i = 0; i < n; ++i) room[i] = static_cast<char>('a' + (buffer.size() + i) % 23);
    buffer.Commit(n);
    step = step * 3 + 1;
  }
}

bool HoldsPattern(const CaptureBuffer& buffer, size_t total) {
  if (buffer.size() != total) return false;
  for (size_t i = 0; i < total; ++i) {
    if (buffer.data()[i] != static_cast<char>('a' + i % 23)) return false;
  }
  return true;
}

TEST(CaptureBuffer, AppendAssignAndClear) {
  CaptureBuffer buffer;
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(buffer.View(), "");
  EXPECT_EQ(buffer.data(), nullptr);  // nothing is held until a byte arrives
  buffer.Append("");
  EXPECT_EQ(buffer.data(), nullptr);
  buffer.Append("one ");
  buffer.Append(std::string("t\0o", 3));
  EXPECT_EQ(buffer.View(), std::string_view("one t\0o", 7));
  buffer.Assign("fresh");
  EXPECT_EQ(buffer.View(), "fresh");
  buffer.Clear();
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(buffer.data(), nullptr);
}

TEST(CaptureBuffer, RoomIsAtLeastWhatIsAskedFor) {
  CaptureBuffer buffer;
  for (const size_t minimum : {size_t{0}, size_t{1}, size_t{4096}, size_t{100000}, size_t{5} << 20}) {
    const auto room = buffer.Room(minimum);
    EXPECT_GE(room.size(), std::max<size_t>(minimum, 1));
    std::memset(room.data(), 'z', room.size());  // all of it is writable
    buffer.Commit(std::max<size_t>(minimum, 1));
  }
}

TEST(CaptureBuffer, GrowsInPlaceWithoutMovingItsBytes) {
  CaptureBuffer buffer;
  FillTo(buffer, 1);
  const char* const block = buffer.data();
  FillTo(buffer, size_t{40} << 20);
  EXPECT_EQ(buffer.data(), block);
  EXPECT_TRUE(HoldsPattern(buffer, size_t{40} << 20));
}

TEST(CaptureBuffer, OutgrowingASmallReservationKeepsEveryByte) {
  // Where the address space is limited the reservation is small; past it
  // the block is remapped, and nothing may be lost or changed on the way.
  CaptureBuffer buffer(size_t{1} << 20);
  FillTo(buffer, size_t{9} << 20);
  EXPECT_TRUE(HoldsPattern(buffer, size_t{9} << 20));
}

TEST(CaptureBuffer, AReleasedSmallBlockServesTheNextBufferCleanly) {
  // A small block is kept for the next buffer, which must show only its own
  // bytes and still grow as any other.
  const char* released;
  {
    CaptureBuffer first;
    first.Append(std::string(5000, 's'));
    released = first.data();
  }
  CaptureBuffer second;
  second.Append("x");
  EXPECT_EQ(second.data(), released);
  EXPECT_EQ(second.View(), "x");
  second.Clear();
  FillTo(second, size_t{3} << 20);
  EXPECT_TRUE(HoldsPattern(second, size_t{3} << 20));
}

TEST(CaptureBuffer, MovesHandOverTheBlock) {
  CaptureBuffer first;
  first.Append("kept text");
  const char* const block = first.data();
  CaptureBuffer second(std::move(first));
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(second.data(), block);
  EXPECT_EQ(second.View(), "kept text");
  CaptureBuffer third;
  third.Append("dropped");
  third = std::move(second);
  EXPECT_EQ(third.View(), "kept text");
  EXPECT_EQ(third.data(), block);
  third.Append(" and more");
  EXPECT_EQ(third.View(), "kept text and more");
}

// Feeds the text to the sink in reads of the given sizes, through its room.
std::string Capture(const std::string& text, bool replace, const std::vector<size_t>& reads) {
  CaptureBuffer buffer;
  CaptureSink sink(buffer, replace);
  size_t at = 0;
  for (size_t i = 0; at < text.size(); ++i) {
    const auto room = sink.Room();
    const size_t n = std::min({room.size(), reads[i % reads.size()], text.size() - at});
    std::memcpy(room.data(), text.data() + at, n);
    sink.Commit(n);
    at += n;
  }
  return std::string(buffer.View());
}

TEST(CaptureSink, ReplacesLineEndingsAsTheyArriveWhateverTheReads) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += i % 3 == 0 ? "line\r\n" : i % 3 == 1 ? "cr only\r" : "lf\n";
  const std::string replaced = platform::ReplaceLineEndings(text);
  for (const std::vector<size_t>& reads : {std::vector<size_t>{1}, {2, 3}, {5, 7, 64}, {65536}, {4095, 1, 17}}) {
    EXPECT_EQ(Capture(text, true, reads), replaced);
    EXPECT_EQ(Capture(text, false, reads), text);
  }
  // Bytes handed over with Append take the same road.
  CaptureBuffer buffer;
  CaptureSink sink(buffer, true);
  sink.Append("a\r");
  sink.Append("\nb\r");
  sink.Append("\r\n");
  EXPECT_EQ(buffer.View(), "a\nb\n\n");
}

}  // namespace
