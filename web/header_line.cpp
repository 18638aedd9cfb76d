#include "web/header_line.h"

namespace web {
namespace {

std::string TrimSpaces(std::string_view part) {
  const std::size_t first = part.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = part.find_last_not_of(' ');
  return std::string(part.substr(first, last - first + 1));
}

}  // namespace

std::string HeaderName(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  return TrimSpaces(line.substr(0, colon));
}

std::string HeaderValue(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  return TrimSpaces(line.substr(colon + 1));
}

}  // namespace web
