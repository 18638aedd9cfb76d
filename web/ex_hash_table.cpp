#include "web/ex_hash_table.h"

#include <bit>
#include <cstring>
#include <typeinfo>
#include <utility>

#include "web/fast_text_length.h"

namespace web {

namespace {

constexpr std::uint32_t kFibonacciMultiplier = 0x9E3779B9u;
constexpr std::uint32_t kSmallestCapacity = 16;
constexpr std::uint32_t kLargestCapacity = std::uint32_t{1} << 30;

}  // namespace

// Text keys follow the node as zero-terminated bytes; byte-block keys as a 32-bit length and the
// bytes; integer keys are the hash itself.
struct Ex_HashTable::Node {
  std::uint32_t hash;
  Node* next;
  union {
    std::int32_t integer;
    ValueBlock* block;
    HashObject* object;  // owned by the table
  } value;

  char* KeyBytes() { return reinterpret_cast<char*>(this + 1); }
  const char* KeyBytes() const { return reinterpret_cast<const char*>(this + 1); }
  std::uint32_t KeyBlockLength() const {
    std::uint32_t length;
    std::memcpy(&length, KeyBytes(), sizeof length);
    return length;
  }
  const std::uint8_t* KeyBlockBytes() const {
    return reinterpret_cast<const std::uint8_t*>(KeyBytes() + sizeof(std::uint32_t));
  }
};

// A text or byte-block value: its length, then the bytes (no terminating zero).
struct Ex_HashTable::ValueBlock {
  std::uint32_t length;
  std::uint8_t* Bytes() { return reinterpret_cast<std::uint8_t*>(this + 1); }
  const std::uint8_t* Bytes() const { return reinterpret_cast<const std::uint8_t*>(this + 1); }
};

struct Ex_HashTable::KeyView {
  std::int32_t integer = 0;
  const char* bytes = nullptr;  // text (zero-terminated) or block bytes
  std::size_t length = 0;
};

Ex_HashTable::~Ex_HashTable() {
  Release();
}

Ex_HashTable::Ex_HashTable(const Ex_HashTable& other) {
  CopyFrom(other);
}

Ex_HashTable& Ex_HashTable::operator=(const Ex_HashTable& other) {
  if (this != &other) {
    Ex_HashTable copy(other);
    Swap(copy);
  }
  return *this;
}

Ex_HashTable::Ex_HashTable(Ex_HashTable&& other) noexcept {
  Swap(other);
}

Ex_HashTable& Ex_HashTable::operator=(Ex_HashTable&& other) noexcept {
  if (this != &other) {
    Ex_HashTable taken(std::move(other));
    Swap(taken);
  }
  return *this;
}

void Ex_HashTable::Swap(Ex_HashTable& other) noexcept {
  std::swap(heap_, other.heap_);
  std::swap(buckets_, other.buckets_);
  std::swap(capacity_, other.capacity_);
  std::swap(loadFactor_, other.loadFactor_);
  std::swap(count_, other.count_);
  std::swap(threshold_, other.threshold_);
  std::swap(shift_, other.shift_);
  std::swap(keyType_, other.keyType_);
  std::swap(valueType_, other.valueType_);
  std::swap(valueTag_, other.valueTag_);
  std::swap(iterationBucket_, other.iterationBucket_);
  std::swap(iterationNode_, other.iterationNode_);
  std::swap(prototype_, other.prototype_);
}

void Ex_HashTable::CopyFrom(const Ex_HashTable& other) {
  prototype_ = other.prototype_;
  if (!other.IsSetUp()) return;
  if (!Init({.keyType = other.keyType_,
             .valueType = other.valueType_,
             .capacity = other.capacity_,
             .loadFactor = other.loadFactor_})) {
    return;
  }
  // Same capacity and the source's bucket order: every chain comes out in the same order.
  for (std::uint32_t bucket = 0; bucket < other.capacity_; ++bucket) {
    for (const Node* node = other.buckets_[bucket]; node != nullptr; node = node->next) {
      if (Set(other.KeyOf(*node), other.ValueOf(*node)) == 0) {
        Release();
        return;
      }
    }
  }
}

bool Ex_HashTable::Init(const HashTableOptions& options) {
  Release();
  auto heap = std::make_unique<PrivateHeap>();

  const int keyType = options.keyType;
  keyType_ = (keyType == kTypeInteger || keyType == kTypeText || keyType == kTypeBytes)
                 ? keyType
                 : kTypeInteger;
  const int valueType = options.valueType;
  valueType_ = (valueType == kTypeInteger || valueType == kTypeText || valueType == kTypeBytes ||
                valueType == kTypeObject)
                   ? valueType
                   : kTypeInteger;

  std::int64_t capacity =
      options.capacity < kSmallestCapacity ? kSmallestCapacity : options.capacity;
  if (capacity > kLargestCapacity) capacity = kLargestCapacity;
  const auto buckets = std::bit_floor(static_cast<std::uint32_t>(capacity));

  const float loadFactor = options.loadFactor;
  loadFactor_ = (!(loadFactor > 1e-7f) || !(loadFactor < 1.0f - 1e-7f)) ? 0.75f : loadFactor;

  auto* heads = static_cast<Node**>(heap->AllocateZeroed(sizeof(Node*) * buckets));
  if (heads == nullptr) return false;

  heap_ = std::move(heap);
  buckets_ = heads;
  capacity_ = buckets;
  threshold_ = static_cast<std::uint32_t>(loadFactor_ * static_cast<float>(capacity_));
  shift_ = 32 - Log2(capacity_);
  valueTag_ = valueType_ == kTypeText    ? kTagText
              : valueType_ == kTypeBytes ? kTagBytes
                                         : kTagInteger;
  count_ = 0;
  ResetIteration();
  return true;
}

void Ex_HashTable::Release() {
  if (!IsSetUp()) return;
  if (valueType_ == kTypeObject && count_ > 0) ReleaseObjectValues();
  heap_.reset();
  buckets_ = nullptr;
  capacity_ = 0;
  count_ = 0;
  ResetIteration();
}

void Ex_HashTable::Resize(std::uint32_t newCapacity) {
  if (!IsSetUp() || newCapacity == capacity_ || !std::has_single_bit(newCapacity) ||
      newCapacity < kSmallestCapacity || newCapacity > kLargestCapacity) {
    return;
  }
  auto* heads = static_cast<Node**>(heap_->AllocateZeroed(sizeof(Node*) * newCapacity));
  if (heads == nullptr) return;
  const int newShift = 32 - Log2(newCapacity);
  // Each new chain is filled in old bucket order, keeping the nodes' relative order.
  std::vector<Node*> tails(newCapacity, nullptr);
  for (std::uint32_t bucket = 0; bucket < capacity_; ++bucket) {
    Node* node = buckets_[bucket];
    while (node != nullptr) {
      Node* next = node->next;
      node->next = nullptr;
      const std::uint32_t index = (node->hash * kFibonacciMultiplier) >> newShift;
      (tails[index] != nullptr ? tails[index]->next : heads[index]) = node;
      tails[index] = node;
      node = next;
    }
  }
  // Keep the iteration cursor inside the new array; entries may repeat or be skipped after a
  // resize, but the cursor never points at freed memory.
  if (iterationNode_ != nullptr) {
    iterationBucket_ = ((iterationNode_->hash * kFibonacciMultiplier) >> newShift) + 1;
  } else {
    iterationBucket_ = static_cast<std::uint32_t>(static_cast<std::uint64_t>(iterationBucket_) *
                                                  newCapacity / capacity_);
  }
  heap_->Free(buckets_, sizeof(Node*) * capacity_);
  buckets_ = heads;
  capacity_ = newCapacity;
  shift_ = newShift;
  threshold_ = static_cast<std::uint32_t>(loadFactor_ * static_cast<float>(capacity_));
}

std::uint32_t Ex_HashTable::HashText(const char* text) {
  std::uint32_t hash = 0;
  if (text == nullptr) return hash;
  for (const char* at = text; *at != '\0'; ++at) {
    hash = hash * 31u + static_cast<unsigned char>(*at);
  }
  return hash;
}

std::uint32_t Ex_HashTable::HashBytes(std::span<const std::uint8_t> bytes) {
  std::uint32_t hash = 0;
  for (const std::uint8_t byte : bytes) {
    hash = hash * 31u + static_cast<std::uint32_t>(static_cast<std::int8_t>(byte));
  }
  return hash;
}

int Ex_HashTable::CompareText(const char* left, const char* right) {
  const auto* a = reinterpret_cast<const unsigned char*>(left != nullptr ? left : "");
  const auto* b = reinterpret_cast<const unsigned char*>(right != nullptr ? right : "");
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

std::size_t Ex_HashTable::TextLength(const char* text) {
  return FastTextLength(text);
}

bool Ex_HashTable::BytesEqual(std::span<const std::uint8_t> left,
                              std::span<const std::uint8_t> right) {
  return left.size() == right.size() &&
         (left.empty() || std::memcmp(left.data(), right.data(), left.size()) == 0);
}

int Ex_HashTable::Log2(std::uint32_t powerOfTwo) {
  if (!std::has_single_bit(powerOfTwo)) return 0;
  return std::countr_zero(powerOfTwo);
}

void Ex_HashTable::ReleaseObjectValues() {
  if (!IsSetUp() || valueType_ != kTypeObject) return;
  for (std::uint32_t bucket = 0; bucket < capacity_; ++bucket) {
    for (Node* node = buckets_[bucket]; node != nullptr; node = node->next) ReleaseValue(*node);
  }
}

bool Ex_HashTable::ViewKey(const HashKey& key, KeyView& view) const {
  switch (keyType_) {
    case kTypeText:
      if (const auto* text = std::get_if<std::string>(&key)) {
        view.bytes = text->c_str();
        view.length = TextLength(text->c_str());
        return true;
      }
      return false;
    case kTypeBytes:
      if (const auto* block = std::get_if<ByteBlock>(&key)) {
        if (block->size() > UINT32_MAX) return false;
        view.bytes = reinterpret_cast<const char*>(block->data());
        view.length = block->size();
        return true;
      }
      return false;
    default:
      if (const auto* integer = std::get_if<std::int32_t>(&key)) {
        view.integer = *integer;
        return true;
      }
      return false;
  }
}

bool Ex_HashTable::ValueFitsType(const HashValue& value) const {
  switch (valueType_) {
    case kTypeText:
      return std::holds_alternative<std::string>(value);
    case kTypeBytes: {
      const auto* block = std::get_if<ByteBlock>(&value);
      return block != nullptr && block->size() <= UINT32_MAX;
    }
    case kTypeObject: {
      const auto* object = std::get_if<ObjectValue>(&value);
      if (object == nullptr || object->empty() || prototype_.empty()) return false;
      const HashObject& given = *object->get();
      const HashObject& prototype = *prototype_.get();
      return typeid(given) == typeid(prototype);
    }
    default:
      return std::holds_alternative<std::int32_t>(value);
  }
}

std::uint32_t Ex_HashTable::BucketOf(std::uint32_t hash) const {
  return (hash * kFibonacciMultiplier) >> shift_;
}

bool Ex_HashTable::KeyEquals(const Node& node, const KeyView& key) const {
  switch (keyType_) {
    case kTypeText:
      return CompareText(node.KeyBytes(), key.bytes) == 0;
    case kTypeBytes:
      return BytesEqual({node.KeyBlockBytes(), node.KeyBlockLength()},
                        {reinterpret_cast<const std::uint8_t*>(key.bytes), key.length});
    default:
      return static_cast<std::int32_t>(node.hash) == key.integer;
  }
}

Ex_HashTable::Node* Ex_HashTable::Find(const KeyView& key, std::uint32_t hash) const {
  for (Node* node = buckets_[BucketOf(hash)]; node != nullptr; node = node->next) {
    if (node->hash == hash && KeyEquals(*node, key)) return node;
  }
  return nullptr;
}

std::size_t Ex_HashTable::NodeBytes(const Node& node) const {
  switch (keyType_) {
    case kTypeText:
      return sizeof(Node) + TextLength(node.KeyBytes()) + 1;
    case kTypeBytes:
      return sizeof(Node) + sizeof(std::uint32_t) + node.KeyBlockLength();
    default:
      return sizeof(Node);
  }
}

HashKey Ex_HashTable::KeyOf(const Node& node) const {
  switch (keyType_) {
    case kTypeText:
      return std::string(node.KeyBytes());
    case kTypeBytes:
      return ByteBlock(node.KeyBlockBytes(), node.KeyBlockBytes() + node.KeyBlockLength());
    default:
      return static_cast<std::int32_t>(node.hash);
  }
}

HashValue Ex_HashTable::ValueOf(const Node& node) const {
  switch (valueType_) {
    case kTypeText: {
      const ValueBlock* block = node.value.block;
      if (block == nullptr) return std::string();
      return std::string(reinterpret_cast<const char*>(block->Bytes()), block->length);
    }
    case kTypeBytes: {
      const ValueBlock* block = node.value.block;
      if (block == nullptr) return ByteBlock();
      return ByteBlock(block->Bytes(), block->Bytes() + block->length);
    }
    case kTypeObject:
      return node.value.object != nullptr ? ObjectValue(*node.value.object) : ObjectValue();
    default:
      return node.value.integer;
  }
}

void Ex_HashTable::ReleaseValue(Node& node) {
  switch (valueType_) {
    case kTypeText:
    case kTypeBytes:
      if (node.value.block != nullptr) {
        heap_->Free(node.value.block, sizeof(ValueBlock) + node.value.block->length);
      }
      node.value.block = nullptr;
      break;
    case kTypeObject:
      // Adopted back by an owner only to be destroyed.
      std::unique_ptr<HashObject>(node.value.object).reset();
      node.value.object = nullptr;
      break;
    default:
      node.value.integer = 0;
      break;
  }
}

bool Ex_HashTable::StoreValue(Node& node, const HashValue& value) {
  const char* bytes = nullptr;
  std::size_t length = 0;
  switch (valueType_) {
    case kTypeText: {
      const std::string& text = std::get<std::string>(value);
      bytes = text.c_str();
      length = TextLength(text.c_str());
      break;
    }
    case kTypeBytes: {
      const ByteBlock& block = std::get<ByteBlock>(value);
      bytes = reinterpret_cast<const char*>(block.data());
      length = block.size();
      break;
    }
    case kTypeObject: {
      std::unique_ptr<HashObject> copy = std::get<ObjectValue>(value).get()->Clone();
      if (!copy) return false;
      ReleaseValue(node);
      node.value.object = copy.release();
      return true;
    }
    default:
      node.value.integer = std::get<std::int32_t>(value);
      return true;
  }
  ValueBlock* block = nullptr;
  if (length > 0) {
    block = static_cast<ValueBlock*>(heap_->Allocate(sizeof(ValueBlock) + length));
    if (block == nullptr) return false;
    block->length = static_cast<std::uint32_t>(length);
    std::memcpy(block->Bytes(), bytes, length);
  }
  ReleaseValue(node);
  node.value.block = block;
  return true;
}

int Ex_HashTable::Set(const HashKey& key, const HashValue& value) {
  KeyView view;
  if (!IsSetUp() || !ViewKey(key, view) || !ValueFitsType(value)) return 0;
  const std::uint32_t hash = HashOf(view);
  if (Node* existing = Find(view, hash)) return StoreValue(*existing, value) ? 2 : 0;

  const std::size_t keyBytes = keyType_ == kTypeText    ? view.length + 1
                               : keyType_ == kTypeBytes ? sizeof(std::uint32_t) + view.length
                                                        : 0;
  auto* node = static_cast<Node*>(heap_->AllocateZeroed(sizeof(Node) + keyBytes));
  if (node == nullptr) return 0;
  node->hash = hash;
  if (keyType_ == kTypeText) {
    std::memcpy(node->KeyBytes(), view.bytes, view.length + 1);
  } else if (keyType_ == kTypeBytes) {
    const auto length = static_cast<std::uint32_t>(view.length);
    std::memcpy(node->KeyBytes(), &length, sizeof length);
    if (length > 0) std::memcpy(node->KeyBytes() + sizeof length, view.bytes, length);
  }
  if (!StoreValue(*node, value)) {
    heap_->Free(node, sizeof(Node) + keyBytes);
    return 0;
  }
  Node** link = &buckets_[BucketOf(hash)];
  while (*link != nullptr) link = &(*link)->next;
  *link = node;
  ++count_;
  if (count_ > threshold_ && capacity_ < kLargestCapacity) Resize(capacity_ * 2);
  return 1;
}

HashValue Ex_HashTable::Get(const HashKey& key, bool& found) const {
  const Node* node = Lookup(key);
  found = node != nullptr;
  if (node != nullptr) return ValueOf(*node);
  switch (valueType_) {
    case kTypeText:
      return std::string();
    case kTypeBytes:
      return ByteBlock();
    case kTypeObject:
      return ObjectValue();
    default:
      return std::int32_t{0};
  }
}

HashValue Ex_HashTable::Get(const HashKey& key) const {
  bool found = false;
  return Get(key, found);
}

bool Ex_HashTable::GetObject(const HashKey& key, ObjectValue& object) const {
  const Node* node = valueType_ == kTypeObject ? Lookup(key) : nullptr;
  if (node == nullptr) return false;
  object = node->value.object != nullptr ? ObjectValue(*node->value.object) : ObjectValue();
  return true;
}

bool Ex_HashTable::Contains(const HashKey& key) const {
  return Lookup(key) != nullptr;
}

bool Ex_HashTable::Remove(const HashKey& key) {
  KeyView view;
  if (!IsSetUp() || !ViewKey(key, view)) return false;
  const std::uint32_t hash = HashOf(view);
  for (Node** link = &buckets_[BucketOf(hash)]; *link != nullptr; link = &(*link)->next) {
    Node* node = *link;
    if (node->hash != hash || !KeyEquals(*node, view)) continue;
    *link = node->next;
    if (iterationNode_ == node) iterationNode_ = node->next;
    ReleaseValue(*node);
    heap_->Free(node, NodeBytes(*node));
    --count_;
    return true;
  }
  return false;
}

void Ex_HashTable::Keys(std::vector<HashKey>& keys) const {
  keys.clear();
  keys.reserve(count_);
  for (std::uint32_t bucket = 0; bucket < capacity_; ++bucket) {
    for (const Node* node = buckets_[bucket]; node != nullptr; node = node->next) {
      keys.push_back(KeyOf(*node));
    }
  }
}

void Ex_HashTable::Values(std::vector<HashValue>& values) const {
  values.clear();
  values.reserve(count_);
  for (std::uint32_t bucket = 0; bucket < capacity_; ++bucket) {
    for (const Node* node = buckets_[bucket]; node != nullptr; node = node->next) {
      values.push_back(ValueOf(*node));
    }
  }
}

void Ex_HashTable::ResetIteration() {
  iterationBucket_ = 0;
  iterationNode_ = nullptr;
}

Ex_HashTable::Node* Ex_HashTable::NextNode() {
  Node* node = iterationNode_;
  while (node == nullptr) {
    if (iterationBucket_ >= capacity_) return nullptr;
    node = buckets_[iterationBucket_++];
  }
  iterationNode_ = node->next;
  return node;
}

bool Ex_HashTable::NextEntry(HashKey& key, HashValue& value) {
  const Node* node = NextNode();
  if (node == nullptr) return false;
  key = KeyOf(*node);
  value = ValueOf(*node);
  return true;
}

bool Ex_HashTable::NextKey(HashKey& key) {
  const Node* node = NextNode();
  if (node == nullptr) return false;
  key = KeyOf(*node);
  return true;
}

bool Ex_HashTable::NextValue(HashValue& value) {
  const Node* node = NextNode();
  if (node == nullptr) return false;
  value = ValueOf(*node);
  return true;
}

void Ex_HashTable::SetObjectPrototype(const ObjectValue& prototype) {
  if (!prototype.empty()) prototype_ = prototype;
}

std::uint32_t Ex_HashTable::HashOf(const KeyView& key) const {
  switch (keyType_) {
    case kTypeText:
      return HashText(key.bytes);
    case kTypeBytes:
      return HashBytes({reinterpret_cast<const std::uint8_t*>(key.bytes), key.length});
    default:
      return static_cast<std::uint32_t>(key.integer);
  }
}

Ex_HashTable::Node* Ex_HashTable::Lookup(const HashKey& key) const {
  KeyView view;
  if (!IsSetUp() || !ViewKey(key, view)) return nullptr;
  return Find(view, HashOf(view));
}

}  // namespace web
