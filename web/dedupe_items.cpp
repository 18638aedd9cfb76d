#include "web/dedupe_items.h"

#include <vector>

#include "web/ex_hash_table.h"

namespace web {
namespace {

// A code page 936 lead byte starts a two-byte character.
bool IsLeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

std::vector<std::string_view> SplitItems(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> items;
  if (text.empty()) return items;
  if (separator.empty()) {
    for (std::size_t i = 0; i < text.size();) {
      std::size_t size =
          IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
      items.push_back(text.substr(i, size));
      i += size;
    }
    return items;
  }
  for (std::size_t start = 0;;) {
    std::size_t end = text.find(separator, start);
    items.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return items;
    start = end + separator.size();
  }
}

}  // namespace

std::string DedupeItems(std::string_view text, std::string_view separator) {
  Ex_HashTable seen;
  seen.Init({.keyType = Ex_HashTable::kTypeText, .valueType = Ex_HashTable::kTypeInteger});
  std::string result;
  bool first = true;
  for (std::string_view item : SplitItems(text, separator)) {
    // Only a key the table already holds (2, replaced) is a repeat; a table that cannot take
    // the key (0) must not make an item disappear.
    if (seen.Set(std::string(item), 0) == 2) continue;
    if (!first) result += separator;
    result += item;
    first = false;
  }
  return result;
}

}  // namespace web
