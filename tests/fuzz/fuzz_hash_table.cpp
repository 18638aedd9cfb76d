// Runs a random sequence of table operations and checks each answer against std::unordered_map.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "web/ex_hash_table.h"

namespace {

using web::ByteBlock;
using web::Ex_HashTable;
using web::HashKey;

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string bytes(std::size_t count) {
    std::string out;
    while (count-- > 0 && !done()) out += static_cast<char>(byte());
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

struct Model {
  int keyType = Ex_HashTable::kTypeText;
  std::unordered_map<std::string, std::int32_t> entries;

  // The key as the table sees it, and its identity in the model.
  HashKey MakeKey(const std::string& raw, std::string& identity) const {
    if (keyType == Ex_HashTable::kTypeText) {
      identity = raw.substr(0, raw.find('\0'));
      return raw;
    }
    if (keyType == Ex_HashTable::kTypeBytes) {
      identity = raw;
      return ByteBlock(raw.begin(), raw.end());
    }
    std::int32_t integer = 0;
    std::memcpy(&integer, raw.data(), raw.size() < 4 ? raw.size() : 4);
    identity.assign(reinterpret_cast<const char*>(&integer), 4);
    return integer;
  }
  std::string IdentityOf(const HashKey& key) const {
    if (const auto* text = std::get_if<std::string>(&key)) return *text;
    if (const auto* block = std::get_if<ByteBlock>(&key))
      return std::string(block->begin(), block->end());
    const std::int32_t integer = std::get<std::int32_t>(key);
    return std::string(reinterpret_cast<const char*>(&integer), 4);
  }
};

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckSameContent(const Ex_HashTable& table, const Model& model) {
  Check(table.Count() == model.entries.size());
  std::vector<HashKey> keys;
  table.Keys(keys);
  std::vector<web::HashValue> values;
  table.Values(values);
  Check(keys.size() == model.entries.size() && values.size() == keys.size());
  std::unordered_map<std::string, std::int32_t> seen;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    seen.emplace(model.IdentityOf(keys[i]), std::get<std::int32_t>(values[i]));
  }
  Check(seen == model.entries);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  static constexpr int kKeyTypes[] = {Ex_HashTable::kTypeText, Ex_HashTable::kTypeBytes,
                                      Ex_HashTable::kTypeInteger};
  Model model;
  model.keyType = kKeyTypes[in.byte() % 3];
  const std::int64_t capacity = in.byte() * 4;
  const float loadFactor = 0.1f + static_cast<float>(in.byte() % 9) * 0.1f;
  Ex_HashTable table;
  Check(table.Init({.keyType = model.keyType, .capacity = capacity, .loadFactor = loadFactor}));

  while (!in.done()) {
    const std::uint8_t op = in.byte() % 10;
    const std::string raw = in.bytes(in.byte() % 12);
    std::string identity;
    const HashKey key = model.MakeKey(raw, identity);
    switch (op) {
      case 0:
      case 1: {
        const std::int32_t value = in.byte();
        const bool existed = model.entries.count(identity) != 0;
        Check(table.Set(key, value) == (existed ? 2 : 1));
        model.entries[identity] = value;
        break;
      }
      case 2: {
        bool found = false;
        const auto value = std::get<std::int32_t>(table.Get(key, found));
        const auto it = model.entries.find(identity);
        Check(found == (it != model.entries.end()));
        Check(value == (found ? it->second : 0));
        break;
      }
      case 3:
        Check(table.Remove(key) == (model.entries.erase(identity) == 1));
        break;
      case 4:
        Check(table.Contains(key) == (model.entries.count(identity) == 1));
        break;
      case 5:
        CheckSameContent(table, model);
        break;
      case 6: {
        const Ex_HashTable copy(table);
        CheckSameContent(copy, model);
        break;
      }
      case 7:
        table.Resize(std::uint32_t{16} << (in.byte() % 8));
        Check(table.Count() == model.entries.size());
        break;
      case 8: {
        std::size_t visited = 0;
        HashKey next;
        table.ResetIteration();
        while (table.NextKey(next)) {
          Check(model.entries.count(model.IdentityOf(next)) == 1);
          ++visited;
        }
        Check(visited == model.entries.size());
        break;
      }
      default:
        if (in.byte() % 8 == 0) {
          table.Release();
          Check(table.Set(key, 1) == 0);
          model.entries.clear();
          Check(table.Init({.keyType = model.keyType, .capacity = capacity}));
        }
        break;
    }
    Check(table.Count() == model.entries.size());
  }
  CheckSameContent(table, model);
  return 0;
}
