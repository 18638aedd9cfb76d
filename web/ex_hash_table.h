#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "web/byte_block.h"
#include "web/hash_object.h"
#include "web/private_heap.h"

namespace web {

// A key: an integer, a text (taken up to its first zero byte) or a byte block.
using HashKey = std::variant<std::int32_t, std::string, ByteBlock>;
// A value: an integer, a text (up to its first zero byte), a byte block or an object.
using HashValue = std::variant<std::int32_t, std::string, ByteBlock, ObjectValue>;

struct HashTableOptions {
  int keyType = 3;             // 3 integer, 10 text, 11 byte block; anything else is 3
  int valueType = 3;           // 3, 10, 11 or 99 (object); anything else is 3
  std::int64_t capacity = 16;  // rounded down to a power of two within 16 .. 2^30
  float loadFactor = 0.75f;    // outside (1e-7, 1 - 1e-7) it is 0.75
};

// A map from keys to values whose nodes and value blocks all live in a private heap, so that
// Release frees them at once. Hashes are 31-polynomials spread over a power-of-two bucket array
// by Fibonacci multiplication; chains keep insertion order and iteration runs in bucket order.
// Copying a table copies its content into a heap of its own.
class Ex_HashTable {
 public:
  static constexpr int kTypeInteger = 3;
  static constexpr int kTypeText = 10;
  static constexpr int kTypeBytes = 11;
  static constexpr int kTypeObject = 99;
  static constexpr std::uint32_t kTagInteger = 0x80000301;
  static constexpr std::uint32_t kTagText = 0x80000004;
  static constexpr std::uint32_t kTagBytes = 0x80000005;

  Ex_HashTable() = default;
  ~Ex_HashTable();
  Ex_HashTable(const Ex_HashTable& other);
  Ex_HashTable& operator=(const Ex_HashTable& other);
  Ex_HashTable(Ex_HashTable&& other) noexcept;
  Ex_HashTable& operator=(Ex_HashTable&& other) noexcept;

  bool Init(const HashTableOptions& options = {});
  void Release();
  // Re-buckets every node; `newCapacity` must be a power of two from 16 to 2^30, other values
  // and the current capacity change nothing.
  void Resize(std::uint32_t newCapacity);

  static std::uint32_t HashText(const char* text);
  static std::uint32_t HashBytes(std::span<const std::uint8_t> bytes);
  static int CompareText(const char* left, const char* right);
  static std::size_t TextLength(const char* text);
  static bool BytesEqual(std::span<const std::uint8_t> left, std::span<const std::uint8_t> right);
  static int Log2(std::uint32_t powerOfTwo);

  void ReleaseObjectValues();
  // 1 added, 2 replaced, 0 when the table is not set up, the key or value is not of the table's
  // kind, an object value's class is not the prototype's, or memory is exhausted.
  int Set(const HashKey& key, const HashValue& value);
  // A copy of the value, and whether the key was found.
  HashValue Get(const HashKey& key, bool& found) const;
  HashValue Get(const HashKey& key) const;
  bool GetObject(const HashKey& key, ObjectValue& object) const;
  bool Remove(const HashKey& key);
  bool Contains(const HashKey& key) const;
  std::uint32_t Capacity() const { return capacity_; }
  std::uint32_t Count() const { return count_; }
  void Keys(std::vector<HashKey>& keys) const;
  void Values(std::vector<HashValue>& values) const;
  void ResetIteration();
  bool NextEntry(HashKey& key, HashValue& value);
  bool NextKey(HashKey& key);
  bool NextValue(HashValue& value);
  // The class whose objects are stored as object values; an empty argument changes nothing.
  void SetObjectPrototype(const ObjectValue& prototype);

  bool IsSetUp() const { return heap_ != nullptr; }
  float LoadFactor() const { return loadFactor_; }
  std::uint32_t Threshold() const { return threshold_; }
  int KeyType() const { return keyType_; }
  int ValueType() const { return valueType_; }
  std::uint32_t ValueTag() const { return valueTag_; }

 private:
  struct Node;
  struct ValueBlock;
  struct KeyView;

  bool ViewKey(const HashKey& key, KeyView& view) const;
  bool ValueFitsType(const HashValue& value) const;
  std::uint32_t BucketOf(std::uint32_t hash) const;
  std::uint32_t HashOf(const KeyView& key) const;
  Node* Find(const KeyView& key, std::uint32_t hash) const;
  Node* Lookup(const HashKey& key) const;
  bool KeyEquals(const Node& node, const KeyView& key) const;
  std::size_t NodeBytes(const Node& node) const;
  HashKey KeyOf(const Node& node) const;
  HashValue ValueOf(const Node& node) const;
  bool StoreValue(Node& node, const HashValue& value);
  void ReleaseValue(Node& node);
  Node* NextNode();
  void CopyFrom(const Ex_HashTable& other);
  void Swap(Ex_HashTable& other) noexcept;

  std::unique_ptr<PrivateHeap> heap_;
  Node** buckets_ = nullptr;
  std::uint32_t capacity_ = 0;
  float loadFactor_ = 0.75f;
  std::uint32_t count_ = 0;
  std::uint32_t threshold_ = 0;
  int shift_ = 0;
  int keyType_ = kTypeInteger;
  int valueType_ = kTypeInteger;
  std::uint32_t valueTag_ = kTagInteger;
  std::uint32_t iterationBucket_ = 0;
  Node* iterationNode_ = nullptr;
  ObjectValue prototype_;
};

}  // namespace web
