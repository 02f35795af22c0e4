#pragma once

#include <span>
#include <string_view>

namespace platform {

struct HtmlEntity {
  std::string_view name;
  char32_t code_point;
};

// The 252 character entities of HTML 4.01 plus "apos", sorted by name in
// byte order (the order of std::string_view's comparison).
std::span<const HtmlEntity> HtmlEntities();

}  // namespace platform
