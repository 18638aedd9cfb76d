#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace platform::os {

// A window's identity. Identifiers are never reused within a desktop, so a handle kept after
// its window died names nothing and every call on it fails harmlessly. 0 is "no window".
struct Window {
  std::uint64_t id = 0;

  explicit operator bool() const { return id != 0; }
  friend bool operator==(const Window&, const Window&) = default;
  friend auto operator<=>(const Window&, const Window&) = default;
};

inline constexpr Window kNoWindow{};

}  // namespace platform::os

template <>
struct std::hash<platform::os::Window> {
  std::size_t operator()(const platform::os::Window& w) const noexcept {
    return std::hash<std::uint64_t>{}(w.id);
  }
};

namespace platform::os {

// Windows travel in message parameters (WM_ACTIVATE's other window, WM_SETFOCUS's previous
// focus, ...) as their identifier.
inline constexpr std::intptr_t window_to_param(Window w) {
  return static_cast<std::intptr_t>(w.id);
}
inline constexpr Window window_from_param(std::intptr_t v) {
  return Window{static_cast<std::uint64_t>(v)};
}

}  // namespace platform::os
