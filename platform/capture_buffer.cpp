#include "platform/capture_buffer.h"

#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>

namespace platform {

namespace {

constexpr size_t kFirstRoom = size_t{64} << 10;
constexpr size_t kLargestStep = size_t{64} << 20;

size_t PageSize() {
  static const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}

size_t RoundUpToPages(size_t bytes) { return (bytes + PageSize() - 1) / PageSize() * PageSize(); }

// Address space costs nothing until it is written, so the reservation is
// large enough for any capture that fits in memory; only a limit on the
// address space makes it smaller.
size_t DefaultReservation() {
  static const size_t reservation = [] {
    size_t bytes = size_t{64} << 30;
    rlimit limit;
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
      bytes = std::min(bytes, static_cast<size_t>(limit.rlim_cur) / 8);
    }
    return std::max(RoundUpToPages(bytes), kFirstRoom);
  }();
  return reservation;
}

// How far the writable part grows: steps that double up to 64 MiB, then
// 64 MiB at a time. Only pages that are written take memory, but writable
// ones count against the system's commit limit, so the step stays modest.
size_t NextWritableEnd(size_t writable, size_t needed) {
  return RoundUpToPages(std::max(needed, writable + std::clamp(writable, kFirstRoom, kLargestStep)));
}

// One released block kept for the next buffer. Making and releasing a
// mapping, and changing its protection, cost system calls and, once a
// started tool has shared our address space, a flush of the other cores'
// address caches: several microseconds for every tool that prints a line.
// Only small blocks are kept, so little memory stays held.
constexpr size_t kLargestKept = size_t{1} << 20;

struct KeptBlock {
  std::mutex mutex;
  char* data = nullptr;
  size_t writable = 0;
  size_t reserved = 0;
};

KeptBlock& Kept() {
  static KeptBlock kept;
  return kept;
}

}  // namespace

CaptureBuffer::~CaptureBuffer() { Clear(); }

CaptureBuffer::CaptureBuffer(CaptureBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      writable_(std::exchange(other.writable_, 0)),
      reserved_(std::exchange(other.reserved_, 0)),
      reservation_hint_(other.reservation_hint_) {}

CaptureBuffer& CaptureBuffer::operator=(CaptureBuffer&& other) noexcept {
  if (this != &other) {
    Clear();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    writable_ = std::exchange(other.writable_, 0);
    reserved_ = std::exchange(other.reserved_, 0);
    reservation_hint_ = other.reservation_hint_;
  }
  return *this;
}

void CaptureBuffer::Clear() {
  if (data_ && writable_ <= kLargestKept && reserved_ == DefaultReservation()) {
    KeptBlock& kept = Kept();
    const std::lock_guard<std::mutex> lock(kept.mutex);
    if (!kept.data) {
      kept.data = std::exchange(data_, nullptr);
      kept.writable = writable_;
      kept.reserved = reserved_;
    }
  }
  if (data_) ::munmap(data_, reserved_);
  data_ = nullptr;
  size_ = writable_ = reserved_ = 0;
}

void CaptureBuffer::Assign(std::string_view text) {
  Clear();
  Append(text);
}

void CaptureBuffer::Append(std::string_view text) {
  if (text.empty()) return;
  std::memcpy(Room(text.size()).data(), text.data(), text.size());
  Commit(text.size());
}

std::span<char> CaptureBuffer::Room(size_t minimum) {
  minimum = std::max<size_t>(minimum, 1);
  if (minimum > SIZE_MAX / 2 - size_) throw std::bad_alloc();
  if (writable_ - size_ < minimum) Grow(size_ + minimum);
  return {data_ + size_, writable_ - size_};
}

void CaptureBuffer::Commit(size_t count) { size_ += std::min(count, writable_ - size_); }

void CaptureBuffer::Grow(size_t needed) {
  if (!data_) Reserve(NextWritableEnd(0, needed));
  if (needed <= writable_) return;  // a kept block can be large enough already
  const size_t end = NextWritableEnd(writable_, needed);
  if (end > reserved_) {
    Relocate(end);
    return;
  }
  if (::mprotect(data_ + writable_, end - writable_, PROT_READ | PROT_WRITE) != 0) throw std::bad_alloc();
  writable_ = end;
}

void CaptureBuffer::Reserve(size_t needed) {
  if (!reservation_hint_) {
    KeptBlock& kept = Kept();
    const std::lock_guard<std::mutex> lock(kept.mutex);
    if (kept.data) {
      data_ = std::exchange(kept.data, nullptr);
      writable_ = kept.writable;
      reserved_ = kept.reserved;
      return;
    }
  }
  size_t size = std::max(reservation_hint_ ? RoundUpToPages(reservation_hint_) : DefaultReservation(), needed);
  void* block;
  // Inaccessible until made writable, so the reservation takes no memory
  // and counts against no commit limit.
  while ((block = ::mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) == MAP_FAILED) {
    if (size == needed) throw std::bad_alloc();
    size = std::max(RoundUpToPages(size / 2), needed);
  }
  data_ = static_cast<char*>(block);
  reserved_ = size;
}

// The reservation is used up (a limit on the address space kept it small):
// the writable part is remapped to a larger block, which moves page tables,
// not bytes.
void CaptureBuffer::Relocate(size_t needed) {
  const size_t size = std::max(needed, reserved_ * 2);
  if (writable_ < reserved_) {
    // Giving back the unused tail first lets the kernel grow the block where it is.
    ::munmap(data_ + writable_, reserved_ - writable_);
    reserved_ = writable_;
  }
  void* block = ::mremap(data_, writable_, size, MREMAP_MAYMOVE);
  if (block == MAP_FAILED) throw std::bad_alloc();
  data_ = static_cast<char*>(block);
  writable_ = reserved_ = size;
}

}  // namespace platform
