#include "web/text_between.h"

#include <algorithm>

namespace web {
namespace {

std::size_t SearchOffset(std::optional<int> startPosition) {
  const int position = startPosition.value_or(1);
  return position < 1 ? 0 : static_cast<std::size_t>(position - 1);
}

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view marker,
                                  std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  const auto found =
      std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), marker.begin(),
                  marker.end(), [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
  if (found == text.end() && !marker.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(found - text.begin());
}

}  // namespace

std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, std::optional<int> startPosition) {
  if (text.empty()) return {};
  const std::size_t start = text.find(startMarker, SearchOffset(startPosition));
  if (start == std::string_view::npos) return {};
  const std::size_t contentStart = start + startMarker.size();
  const std::size_t end = text.find(endMarker, contentStart);
  if (end == std::string_view::npos || end == contentStart) return {};
  return std::string(text.substr(contentStart, end - contentStart));
}

std::string TextBefore(std::string_view text, std::string_view marker,
                       std::optional<int> startPosition, std::optional<bool> ignoreCase) {
  const std::size_t from = SearchOffset(startPosition);
  const std::size_t found = ignoreCase.value_or(false) ? FindIgnoringAsciiCase(text, marker, from)
                                                       : text.find(marker, from);
  if (found == std::string_view::npos) return {};
  return std::string(text.substr(0, found));
}

}  // namespace web
