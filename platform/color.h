#pragma once

#include <cstdint>

namespace platform {

// A colour packed as 0xRRGGBB in the low three bytes of one 32-bit value.
// The top byte is no component but is kept bit for bit, so a colour always
// gives back exactly the value it was made from.
class Color {
 public:
  constexpr Color() = default;
  constexpr explicit Color(uint32_t value) : value_(value) {}

  constexpr uint32_t Value() const { return value_; }
  constexpr uint8_t Red() const { return static_cast<uint8_t>(value_ >> 16); }
  constexpr uint8_t Green() const { return static_cast<uint8_t>(value_ >> 8); }
  constexpr uint8_t Blue() const { return static_cast<uint8_t>(value_); }

  friend constexpr bool operator==(Color, Color) = default;

 private:
  uint32_t value_ = 0;
};

}  // namespace platform
