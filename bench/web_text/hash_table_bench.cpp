// Set and Get of one million text keys: Ex_HashTable against std::unordered_map<std::string, int>.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "web/cpu_flags.h"
#include "web/ex_hash_table.h"

namespace {

constexpr int kKeys = 1000000;

const std::vector<std::string>& Keys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> made;
    made.reserve(kKeys);
    for (int i = 0; i < kKeys; ++i)
      made.push_back("keyword-" + std::to_string(static_cast<std::int64_t>(i) * 7919));
    return made;
  }();
  return keys;
}

void UseProcessorFlags() {
  web::CpuHasSse2 = true;
  web::CpuHasAvx2 = __builtin_cpu_supports("avx2");
}

void BM_HashTableSet(benchmark::State& state) {
  UseProcessorFlags();
  const auto& keys = Keys();
  for (auto _ : state) {
    web::Ex_HashTable table;
    table.Init({.keyType = web::Ex_HashTable::kTypeText});
    for (int i = 0; i < kKeys; ++i) table.Set(keys[i], i);
    benchmark::DoNotOptimize(table.Count());
    state.PauseTiming();
    table.Release();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_UnorderedMapSet(benchmark::State& state) {
  const auto& keys = Keys();
  for (auto _ : state) {
    std::unordered_map<std::string, int> map;
    for (int i = 0; i < kKeys; ++i) map[keys[i]] = i;
    benchmark::DoNotOptimize(map.size());
    state.PauseTiming();
    map = {};
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_HashTableGet(benchmark::State& state) {
  UseProcessorFlags();
  const auto& keys = Keys();
  web::Ex_HashTable table;
  table.Init({.keyType = web::Ex_HashTable::kTypeText});
  for (int i = 0; i < kKeys; ++i) table.Set(keys[i], i);
  for (auto _ : state) {
    std::int64_t sum = 0;
    bool found = false;
    for (int i = 0; i < kKeys; ++i) sum += std::get<std::int32_t>(table.Get(keys[i], found));
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_UnorderedMapGet(benchmark::State& state) {
  const auto& keys = Keys();
  std::unordered_map<std::string, int> map;
  for (int i = 0; i < kKeys; ++i) map[keys[i]] = i;
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (int i = 0; i < kKeys; ++i) {
      const auto it = map.find(keys[i]);
      sum += it != map.end() ? it->second : 0;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
}

void BM_HashTableRelease(benchmark::State& state) {
  UseProcessorFlags();
  const auto& keys = Keys();
  for (auto _ : state) {
    state.PauseTiming();
    web::Ex_HashTable table;
    table.Init({.keyType = web::Ex_HashTable::kTypeText});
    for (int i = 0; i < kKeys; ++i) table.Set(keys[i], i);
    state.ResumeTiming();
    table.Release();
  }
}

void BM_UnorderedMapRelease(benchmark::State& state) {
  const auto& keys = Keys();
  for (auto _ : state) {
    state.PauseTiming();
    std::unordered_map<std::string, int> map;
    for (int i = 0; i < kKeys; ++i) map[keys[i]] = i;
    state.ResumeTiming();
    map = {};
  }
}

}  // namespace

BENCHMARK(BM_HashTableSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HashTableGet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedMapGet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HashTableRelease)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UnorderedMapRelease)->Unit(benchmark::kMillisecond)->Iterations(5);
