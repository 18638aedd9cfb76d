#include "web/cookie_merge.h"

#include <algorithm>
#include <vector>

#include "web/dedupe_items.h"

namespace web {
namespace {

constexpr std::string_view kDeletedSuffix = "=deleted";

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Walks the text by characters, so that the full-width space (A1 A1) is only ever matched as
// a whole character, never across the trail byte of one and the lead byte of the next.
std::string WithoutSpaces(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < text.size()) {
      if (!(byte == 0xA1 && static_cast<unsigned char>(text[i + 1]) == 0xA1))
        kept.append(text.substr(i, 2));
      i += 2;
    } else {
      if (byte != ' ') kept.push_back(text[i]);
      ++i;
    }
  }
  return kept;
}

// Items between ";"; empty ones (from ";;" or a trailing ";") are no cookies and are skipped.
std::vector<std::string> SplitCookies(std::string_view text) {
  std::vector<std::string> items;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = std::min(text.find(';', start), text.size());
    if (end > start) items.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

}  // namespace

std::string CookieName(std::string_view item) {
  return std::string(TrimSpaces(item.substr(0, item.find('='))));
}

bool HasCookie(std::span<const std::string> items, std::string_view name) {
  return std::any_of(items.begin(), items.end(),
                     [&](const std::string& item) { return CookieName(item) == name; });
}

std::string MergeCookies(std::string& stored, std::string& received) {
  stored = WithoutSpaces(stored);
  received = WithoutSpaces(received);
  std::vector<std::string> merged = SplitCookies(received);
  const std::size_t received_count = merged.size();
  for (std::string& item : SplitCookies(stored)) {
    const std::span<const std::string> received_items(merged.data(), received_count);
    if (!HasCookie(received_items, CookieName(item))) merged.push_back(std::move(item));
  }
  std::string joined;
  for (const std::string& item : merged) {
    if (item.ends_with(kDeletedSuffix)) continue;
    if (!joined.empty()) joined += "; ";
    joined += item;
  }
  stored = DedupeItems(joined, "; ");
  return stored;
}

}  // namespace web
