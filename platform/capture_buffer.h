#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace platform {

// Bytes captured from a tool, however many: one block of address space is
// reserved up front and made writable as the bytes come, so the block grows
// in place and what it holds is never moved or copied, and memory is taken
// only for what was written. An empty buffer holds no memory at all.
class CaptureBuffer {
 public:
  CaptureBuffer() = default;
  // A buffer that reserves only this much address space at first; beyond
  // it the block is moved by remapping its pages, still without copying a
  // byte. Normal use wants the default.
  explicit CaptureBuffer(size_t reservation) : reservation_hint_(reservation) {}
  ~CaptureBuffer();
  CaptureBuffer(CaptureBuffer&& other) noexcept;
  CaptureBuffer& operator=(CaptureBuffer&& other) noexcept;
  CaptureBuffer(const CaptureBuffer&) = delete;
  CaptureBuffer& operator=(const CaptureBuffer&) = delete;

  std::string_view View() const { return {data_, size_}; }
  const char* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // Drops the bytes and gives the memory back.
  void Clear();
  void Assign(std::string_view text);
  void Append(std::string_view text);

  // Writable room after the bytes, at least minimum bytes of it: write into
  // it, then Commit what was written. Throws std::bad_alloc when the room
  // cannot be had.
  std::span<char> Room(size_t minimum);
  // Adds the first count bytes of the room to the bytes.
  void Commit(size_t count);

 private:
  void Grow(size_t needed);
  void Reserve(size_t needed);
  void Relocate(size_t needed);

  char* data_ = nullptr;
  size_t size_ = 0;
  size_t writable_ = 0;  // bytes from data_ that may be written
  size_t reserved_ = 0;  // bytes from data_ that are ours
  size_t reservation_hint_ = 0;
};

}  // namespace platform
