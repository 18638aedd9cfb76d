#include "platform/net/transfer_pool.h"

#include "platform/net/curl_runtime.h"

namespace platform::net {
namespace {

constexpr std::size_t kMostIdlePairs = 8;

}  // namespace

TransferPair::~TransferPair() {
  if (easy != nullptr) curl_easy_cleanup(easy);
  if (multi != nullptr) curl_multi_cleanup(multi);
}

TransferPool& TransferPool::Process() {
  static TransferPool pool;
  return pool;
}

// The runtime is made first, so it outlives the pool and the pool's handles are closed before
// libcurl is.
TransferPool::TransferPool() {
  CurlRuntime::Get();
}

std::unique_ptr<TransferPool::Lease> TransferPool::Take() {
  if (!CurlRuntime::Get().Ready()) return nullptr;
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      auto pair = std::move(idle_.back());
      idle_.pop_back();
      return std::make_unique<Lease>(*this, std::move(pair));
    }
  }
  auto pair = std::make_unique<TransferPair>();
  pair->multi = curl_multi_init();
  pair->easy = curl_easy_init();
  if (pair->multi == nullptr || pair->easy == nullptr) return nullptr;
  return std::make_unique<Lease>(*this, std::move(pair));
}

void TransferPool::Return(std::unique_ptr<TransferPair> pair) {
  std::lock_guard lock(mutex_);
  if (idle_.size() < kMostIdlePairs) idle_.push_back(std::move(pair));
}

}  // namespace platform::net
