#pragma once

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <vector>

namespace platform::net {

// A multi handle with one easy handle. The multi handle keeps the connections, so a pair taken
// again for the next request reuses the connection its last request left alive.
struct TransferPair {
  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  TransferPair() = default;
  ~TransferPair();
  TransferPair(const TransferPair&) = delete;
  TransferPair& operator=(const TransferPair&) = delete;
};

// The idle pairs of the process, most recently used first. One request uses a pair at a time;
// idle ones beyond a few are closed with their connections.
class TransferPool {
 public:
  class Lease {
   public:
    Lease(TransferPool& pool, std::unique_ptr<TransferPair> pair)
        : pool_(&pool), pair_(std::move(pair)) {}
    ~Lease() {
      if (pair_) pool_->Return(std::move(pair_));
    }
    Lease(Lease&&) = default;
    Lease& operator=(Lease&&) = delete;
    CURLM* multi() const { return pair_->multi; }
    CURL* easy() const { return pair_->easy; }

   private:
    TransferPool* pool_;
    std::unique_ptr<TransferPair> pair_;
  };

  static TransferPool& Process();
  // Null when libcurl cannot make handles.
  std::unique_ptr<Lease> Take();

 private:
  TransferPool();
  void Return(std::unique_ptr<TransferPair> pair);

  std::mutex mutex_;
  std::vector<std::unique_ptr<TransferPair>> idle_;
};

}  // namespace platform::net
