#include "web/ex_hash_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace web {
namespace {

using testing::ElementsAreArray;

constexpr int kInteger = Ex_HashTable::kTypeInteger;
constexpr int kText = Ex_HashTable::kTypeText;
constexpr int kBytes = Ex_HashTable::kTypeBytes;
constexpr int kObject = Ex_HashTable::kTypeObject;

// The placement rule, written out independently: the top bits of the Fibonacci product.
std::uint32_t ExpectedBucket(std::uint32_t hash, std::uint32_t capacity) {
  int bits = 0;
  while ((1u << bits) < capacity) ++bits;
  return static_cast<std::uint32_t>((std::uint64_t{hash} * 2654435769u) & 0xFFFFFFFFu) >>
         (32 - bits);
}

std::uint32_t PolynomialHash(const std::string& text) {
  std::uint64_t h = 0;
  for (unsigned char c : text) h = (h * 31 + c) & 0xFFFFFFFFu;
  return static_cast<std::uint32_t>(h);
}

std::vector<std::string> TextKeys(const Ex_HashTable& table) {
  std::vector<HashKey> keys;
  table.Keys(keys);
  std::vector<std::string> texts;
  for (const HashKey& key : keys) texts.push_back(std::get<std::string>(key));
  return texts;
}

TEST(HashTableInit, NoArgumentsGiveSixteenIntegerBuckets) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init());
  EXPECT_EQ(table.Capacity(), 16u);
  EXPECT_FLOAT_EQ(table.LoadFactor(), 0.75f);
  EXPECT_EQ(table.Threshold(), 12u);
  EXPECT_EQ(table.KeyType(), kInteger);
  EXPECT_EQ(table.ValueType(), kInteger);
  EXPECT_EQ(table.ValueTag(), 0x80000301u);
  EXPECT_EQ(table.Count(), 0u);
}

TEST(HashTableInit, CapacityIsAPowerOfTwoOfAtLeastSixteen) {
  struct Case {
    std::int64_t asked;
    std::uint32_t buckets;
  };
  const Case cases[] = {{100, 64}, {20, 16}, {0, 16},     {-7, 16},    {15, 16},
                        {16, 16},  {64, 64}, {1023, 512}, {1025, 1024}};
  for (const Case& c : cases) {
    Ex_HashTable table;
    ASSERT_TRUE(table.Init({.capacity = c.asked}));
    EXPECT_EQ(table.Capacity(), c.buckets) << c.asked;
    EXPECT_EQ(table.Threshold(), static_cast<std::uint32_t>(0.75f * c.buckets)) << c.asked;
  }
}

TEST(HashTableInit, LoadFactorOutsideTheOpenUnitRangeBecomesDefault) {
  struct Case {
    float asked;
    float used;
    std::uint32_t threshold;  // at 64 buckets
  };
  const Case cases[] = {{0.5f, 0.5f, 32},   {0.0f, 0.75f, 48},         {1.0f, 0.75f, 48},
                        {-0.5f, 0.75f, 48}, {1e-8f, 0.75f, 48},        {0.99999999f, 0.75f, 48},
                        {0.3f, 0.3f, 19},   {std::nanf(""), 0.75f, 48}};
  for (const Case& c : cases) {
    Ex_HashTable table;
    ASSERT_TRUE(table.Init({.capacity = 64, .loadFactor = c.asked}));
    EXPECT_FLOAT_EQ(table.LoadFactor(), c.used) << c.asked;
    EXPECT_EQ(table.Threshold(), c.threshold) << c.asked;
  }
}

TEST(HashTableInit, UnknownTypesBecomeIntegers) {
  struct Case {
    int keyType, valueType;
    int keyUsed, valueUsed;
    std::uint32_t tag;
  };
  const Case cases[] = {
      {kText, kInteger, kText, kInteger, 0x80000301},
      {kBytes, kText, kBytes, kText, 0x80000004},
      {kInteger, kBytes, kInteger, kBytes, 0x80000005},
      {kText, kObject, kText, kObject, 0x80000301},
      {kObject, 4, kInteger, kInteger, 0x80000301},
      {0, 0, kInteger, kInteger, 0x80000301},
  };
  for (const Case& c : cases) {
    Ex_HashTable table;
    ASSERT_TRUE(table.Init({.keyType = c.keyType, .valueType = c.valueType}));
    EXPECT_EQ(table.KeyType(), c.keyUsed);
    EXPECT_EQ(table.ValueType(), c.valueUsed);
    EXPECT_EQ(table.ValueTag(), c.tag);
  }
}

TEST(HashTable, GrowsToThirtyTwoBucketsAtTheThirteenthKeyAndKeepsEveryKey) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kInteger}));
  for (int i = 1; i <= 12; ++i) ASSERT_EQ(table.Set("key" + std::to_string(i), i), 1);
  EXPECT_EQ(table.Capacity(), 16u);
  ASSERT_EQ(table.Set(std::string("key13"), 13), 1);
  EXPECT_EQ(table.Capacity(), 32u);
  EXPECT_EQ(table.Threshold(), 24u);
  EXPECT_EQ(table.Count(), 13u);
  for (int i = 1; i <= 13; ++i) {
    bool found = false;
    EXPECT_EQ(std::get<std::int32_t>(table.Get("key" + std::to_string(i), found)), i);
    EXPECT_TRUE(found) << i;
  }
}

TEST(HashTable, SetAnswersAddedThenReplaced) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kText}));
  EXPECT_EQ(table.Set(std::string("a"), std::string("first")), 1);
  EXPECT_EQ(table.Set(std::string("a"), std::string("second value")), 2);
  EXPECT_EQ(table.Count(), 1u);
  EXPECT_EQ(std::get<std::string>(table.Get(std::string("a"))), "second value");
}

TEST(HashTable, OperationsOnATableThatIsNotSetUpDoNothing) {
  Ex_HashTable table;
  for (int round = 0; round < 2; ++round) {
    bool found = true;
    EXPECT_EQ(table.Set(1, 1), 0);
    EXPECT_EQ(std::get<std::int32_t>(table.Get(1, found)), 0);
    EXPECT_FALSE(found);
    EXPECT_FALSE(table.Contains(1));
    EXPECT_FALSE(table.Remove(1));
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_EQ(table.Capacity(), 0u);
    HashKey key;
    EXPECT_FALSE(table.NextKey(key));
    std::vector<HashKey> keys{1, 2};
    table.Keys(keys);
    EXPECT_TRUE(keys.empty());
    // Second round: after a table was set up and released.
    ASSERT_TRUE(table.Init());
    ASSERT_EQ(table.Set(1, 1), 1);
    table.Release();
    EXPECT_FALSE(table.IsSetUp());
  }
}

TEST(HashTable, KeysOfTheWrongKindAreRefused) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kInteger}));
  EXPECT_EQ(table.Set(5, 1), 0);
  EXPECT_EQ(table.Set(ByteBlock{'a'}, 1), 0);
  EXPECT_EQ(table.Set(std::string("a"), std::string("text value")), 0);
  EXPECT_EQ(table.Count(), 0u);
  EXPECT_FALSE(table.Contains(5));
}

TEST(HashTable, RemoveUnlinksOneNodeAndKeepsItsChainNeighbours) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kInteger, .valueType = kText}));
  // Integer keys are their own hashes; find three that share bucket 0 of 16.
  std::vector<std::int32_t> sameBucket;
  for (std::int32_t key = 0; sameBucket.size() < 3; ++key) {
    if (ExpectedBucket(static_cast<std::uint32_t>(key), 16) == 0) sameBucket.push_back(key);
  }
  for (std::int32_t key : sameBucket) ASSERT_EQ(table.Set(key, "v" + std::to_string(key)), 1);
  EXPECT_TRUE(table.Remove(sameBucket[1]));
  EXPECT_FALSE(table.Remove(sameBucket[1]));
  EXPECT_FALSE(table.Contains(sameBucket[1]));
  EXPECT_EQ(table.Count(), 2u);
  EXPECT_EQ(std::get<std::string>(table.Get(sameBucket[0])), "v" + std::to_string(sameBucket[0]));
  EXPECT_EQ(std::get<std::string>(table.Get(sameBucket[2])), "v" + std::to_string(sameBucket[2]));
  EXPECT_TRUE(table.Remove(sameBucket[2]));  // the chain's tail
  EXPECT_TRUE(table.Remove(sameBucket[0]));  // its head
  EXPECT_EQ(table.Count(), 0u);
  EXPECT_EQ(table.Set(sameBucket[1], std::string("again")), 1);
}

TEST(HashTable, IteratesInBucketOrderWithChainsInInsertionOrder) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kInteger, .capacity = 64}));
  std::vector<std::string> inserted;
  for (int i = 0; i < 40; ++i) inserted.push_back("item" + std::to_string(i * 7));
  for (std::size_t i = 0; i < inserted.size(); ++i) {
    ASSERT_EQ(table.Set(inserted[i], static_cast<std::int32_t>(i)), 1);
  }
  std::vector<std::string> expected = inserted;
  std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
    return ExpectedBucket(PolynomialHash(a), 64) < ExpectedBucket(PolynomialHash(b), 64);
  });
  EXPECT_THAT(TextKeys(table), ElementsAreArray(expected));

  std::vector<HashValue> values;
  table.Values(values);
  ASSERT_EQ(values.size(), expected.size());
  table.ResetIteration();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    HashKey key;
    HashValue value;
    ASSERT_TRUE(table.NextEntry(key, value));
    EXPECT_EQ(std::get<std::string>(key), expected[i]);
    EXPECT_EQ(std::get<std::int32_t>(value), std::get<std::int32_t>(values[i]));
    EXPECT_EQ(inserted[static_cast<std::size_t>(std::get<std::int32_t>(value))], expected[i]);
  }
  HashKey key;
  HashValue value;
  EXPECT_FALSE(table.NextEntry(key, value));
  table.ResetIteration();
  ASSERT_TRUE(table.NextKey(key));
  EXPECT_EQ(std::get<std::string>(key), expected[0]);
  ASSERT_TRUE(table.NextValue(value));  // the cursor is shared: this is the second entry
  EXPECT_EQ(std::get<std::int32_t>(value), std::get<std::int32_t>(values[1]));
}

TEST(HashTable, RemovingTheNextEntryDuringIterationSkipsIt) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kInteger}));
  for (int i = 0; i < 10; ++i) ASSERT_EQ(table.Set("k" + std::to_string(i), i), 1);
  const std::vector<std::string> order = TextKeys(table);
  table.ResetIteration();
  HashKey key;
  ASSERT_TRUE(table.NextKey(key));
  ASSERT_TRUE(table.Remove(order[1]));
  std::vector<std::string> rest;
  while (table.NextKey(key)) rest.push_back(std::get<std::string>(key));
  EXPECT_THAT(rest, ElementsAreArray(order.begin() + 2, order.end()));
}

TEST(HashTable, HashesAreThirtyOnePolynomials) {
  struct Case {
    std::string bytes;
    std::uint32_t textHash, blockHash;
  };
  const Case cases[] = {
      {"", 0, 0},
      {"a", 97, 97},
      {"ab", 97 * 31 + 98, 97 * 31 + 98},
      {"\x80", 128, 0xFFFFFF80u},  // block bytes are signed
      {"\xFF"
       "a",
       255 * 31 + 97, static_cast<std::uint32_t>(-31 + 97)},
      {"the quick brown fox", PolynomialHash("the quick brown fox"),
       PolynomialHash("the quick brown fox")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Ex_HashTable::HashText(c.bytes.c_str()), c.textHash) << c.bytes;
    const ByteBlock block(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(Ex_HashTable::HashBytes(block), c.blockHash) << c.bytes;
  }
  EXPECT_EQ(Ex_HashTable::HashText(nullptr), 0u);
}

TEST(HashTable, CompareTextLog2AndBytesEqual) {
  EXPECT_EQ(Ex_HashTable::CompareText("abc", "abc"), 0);
  EXPECT_EQ(Ex_HashTable::CompareText("abc", "abd"), -1);
  EXPECT_EQ(Ex_HashTable::CompareText("b", "a"), 1);
  EXPECT_EQ(Ex_HashTable::CompareText("ab", "abc"), -'c');
  EXPECT_EQ(Ex_HashTable::CompareText("\xFF", "\x01"), 254);  // bytes as unsigned
  EXPECT_EQ(Ex_HashTable::CompareText(nullptr, ""), 0);
  EXPECT_EQ(Ex_HashTable::CompareText(nullptr, "a"), -'a');

  const std::pair<std::uint32_t, int> logs[] = {{1, 0},         {2, 1},           {16, 4},
                                                {1u << 30, 30}, {1u << 31, 31},   {3, 0},
                                                {0, 0},         {0xFFFFFFFFu, 0}, {48, 0}};
  for (const auto& [value, log] : logs) EXPECT_EQ(Ex_HashTable::Log2(value), log) << value;

  EXPECT_TRUE(Ex_HashTable::BytesEqual(ByteBlock{}, ByteBlock{}));
  EXPECT_TRUE(Ex_HashTable::BytesEqual(ByteBlock{0, 1}, ByteBlock{0, 1}));
  EXPECT_FALSE(Ex_HashTable::BytesEqual(ByteBlock{0, 1}, ByteBlock{0, 2}));
  EXPECT_FALSE(Ex_HashTable::BytesEqual(ByteBlock{0}, ByteBlock{0, 0}));
}

TEST(HashTable, ByteBlockKeysAndValuesKeepEveryByte) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kBytes, .valueType = kBytes}));
  const ByteBlock empty;
  const ByteBlock withZeros{0, 1, 0, 0xFF};
  const ByteBlock prefix{0, 1, 0};
  EXPECT_EQ(table.Set(empty, withZeros), 1);
  EXPECT_EQ(table.Set(withZeros, empty), 1);
  EXPECT_EQ(table.Set(prefix, prefix), 1);
  EXPECT_EQ(table.Set(ByteBlock{}, prefix), 2);  // two empty blocks are equal keys
  bool found = false;
  EXPECT_EQ(std::get<ByteBlock>(table.Get(empty, found)), prefix);
  EXPECT_TRUE(found);
  EXPECT_EQ(std::get<ByteBlock>(table.Get(withZeros, found)), empty);
  EXPECT_TRUE(found);
  EXPECT_EQ(std::get<ByteBlock>(table.Get(prefix)), prefix);
  EXPECT_FALSE(table.Contains(ByteBlock{0, 1}));
}

TEST(HashTable, TextsEndAtTheirFirstZeroByte) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kText}));
  EXPECT_EQ(table.Set(std::string("ab\0cd", 5), std::string("x\0y", 3)), 1);
  EXPECT_TRUE(table.Contains(std::string("ab")));
  EXPECT_EQ(std::get<std::string>(table.Get(std::string("ab"))), "x");
  EXPECT_EQ(table.Set(std::string("empty"), std::string()), 1);
  bool found = false;
  EXPECT_EQ(std::get<std::string>(table.Get(std::string("empty"), found)), "");
  EXPECT_TRUE(found);
  EXPECT_EQ(table.Set(std::string(), std::string("empty key")), 1);
  EXPECT_EQ(std::get<std::string>(table.Get(std::string())), "empty key");
}

TEST(HashTable, ResizeRebucketsEveryNodeAndIgnoresBadCapacities) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kInteger, .valueType = kInteger}));
  for (std::int32_t key = -5; key < 5; ++key) ASSERT_EQ(table.Set(key, key * 10), 1);
  table.Resize(48);
  EXPECT_EQ(table.Capacity(), 16u);
  table.Resize(8);
  EXPECT_EQ(table.Capacity(), 16u);
  table.Resize(256);
  EXPECT_EQ(table.Capacity(), 256u);
  EXPECT_EQ(table.Threshold(), 192u);
  std::vector<HashKey> keys;
  table.Keys(keys);
  std::vector<std::uint32_t> buckets;
  for (const HashKey& key : keys) {
    buckets.push_back(ExpectedBucket(static_cast<std::uint32_t>(std::get<std::int32_t>(key)), 256));
  }
  EXPECT_TRUE(std::is_sorted(buckets.begin(), buckets.end()));
  for (std::int32_t key = -5; key < 5; ++key) {
    EXPECT_EQ(std::get<std::int32_t>(table.Get(key)), key * 10);
  }
}

TEST(HashTable, CopiesOwnTheirContent) {
  Ex_HashTable original;
  ASSERT_TRUE(original.Init({.keyType = kText, .valueType = kText}));
  for (int i = 0; i < 30; ++i) ASSERT_EQ(original.Set("k" + std::to_string(i), "v"), 1);
  Ex_HashTable copy(original);
  EXPECT_EQ(copy.Capacity(), original.Capacity());
  EXPECT_EQ(TextKeys(copy), TextKeys(original));
  ASSERT_EQ(copy.Set(std::string("k0"), std::string("changed")), 2);
  ASSERT_TRUE(copy.Remove(std::string("k1")));
  EXPECT_EQ(std::get<std::string>(original.Get(std::string("k0"))), "v");
  EXPECT_TRUE(original.Contains(std::string("k1")));

  Ex_HashTable assigned;
  assigned = copy;
  original.Release();
  EXPECT_EQ(std::get<std::string>(assigned.Get(std::string("k0"))), "changed");
  EXPECT_EQ(assigned.Count(), 29u);

  Ex_HashTable moved(std::move(assigned));
  EXPECT_FALSE(assigned.IsSetUp());  // NOLINT(bugprone-use-after-move): moved-from is defined
  EXPECT_EQ(moved.Count(), 29u);
  Ex_HashTable notSetUp;
  Ex_HashTable copyOfNothing(notSetUp);
  EXPECT_FALSE(copyOfNothing.IsSetUp());
}

TEST(HashTable, ReleaseAfterAMillionEntriesLeavesAnEmptyTableThatCanBeSetUpAgain) {
  Ex_HashTable table;
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kText}));
  for (int i = 0; i < 1000000; ++i) {
    ASSERT_EQ(table.Set("keyword " + std::to_string(i), std::string("v")), 1);
  }
  EXPECT_EQ(table.Count(), 1000000u);
  EXPECT_EQ(table.Capacity(), 1u << 21);  // 2^20 × 0.75 is below a million
  table.Release();
  EXPECT_FALSE(table.IsSetUp());
  EXPECT_EQ(table.Count(), 0u);
  EXPECT_EQ(table.Capacity(), 0u);
  EXPECT_EQ(table.Set(std::string("k"), std::string("v")), 0);
  ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kText}));
  EXPECT_EQ(table.Set(std::string("keyword 5"), std::string("v")), 1);
}

// Object values: live instances are counted so that every copy's release is seen.
class Tracked : public HashObject {
 public:
  explicit Tracked(int id) : id_(id) { ++live; }
  Tracked(const Tracked& other) : HashObject(other), id_(other.id_) { ++live; }
  ~Tracked() override { --live; }
  std::unique_ptr<HashObject> Clone() const override { return std::make_unique<Tracked>(*this); }
  int id() const { return id_; }
  static inline int live = 0;

 private:
  int id_;
};

class Other : public HashObject {
 public:
  std::unique_ptr<HashObject> Clone() const override { return std::make_unique<Other>(*this); }
};

TEST(HashTableObjects, StoresCopiesThroughThePrototypeAndReleasesThem) {
  Tracked::live = 0;
  {
    Ex_HashTable table;
    ASSERT_TRUE(table.Init({.keyType = kText, .valueType = kObject}));
    EXPECT_EQ(table.Set(std::string("a"), ObjectValue(Tracked(1))), 0);  // no prototype yet
    table.SetObjectPrototype(ObjectValue(Tracked(0)));
    table.SetObjectPrototype(ObjectValue());  // empty: keeps the prototype
    EXPECT_EQ(table.Set(std::string("a"), ObjectValue(Other())), 0);
    EXPECT_EQ(table.Set(std::string("a"), ObjectValue(Tracked(1))), 1);
    EXPECT_EQ(table.Set(std::string("b"), ObjectValue(Tracked(2))), 1);
    EXPECT_EQ(Tracked::live, 3);  // the prototype and the two stored copies
    EXPECT_EQ(table.Set(std::string("a"), ObjectValue(Tracked(3))), 2);
    EXPECT_EQ(Tracked::live, 3);  // the replaced copy was released

    ObjectValue out;
    ASSERT_TRUE(table.GetObject(std::string("a"), out));
    EXPECT_EQ(static_cast<const Tracked*>(out.get())->id(), 3);
    EXPECT_FALSE(table.GetObject(std::string("zz"), out));
    EXPECT_EQ(Tracked::live, 4);
    out = ObjectValue();

    EXPECT_TRUE(table.Remove(std::string("b")));
    EXPECT_EQ(Tracked::live, 2);
    Ex_HashTable copy(table);
    EXPECT_EQ(Tracked::live, 4);  // copied prototype and value
    table.Release();
    EXPECT_EQ(Tracked::live, 3);  // the table's prototype stays for a later Init
  }
  EXPECT_EQ(Tracked::live, 0);
}

}  // namespace
}  // namespace web
