#pragma once

#include <curl/curl.h>
#include <openssl/x509.h>

namespace platform::net {

// The process-wide part of every transfer, made on first use: the libcurl initialisation, a
// share of resolved names and TLS sessions (both safe across threads, unlike a shared
// connection cache), and the trusted authorities, read once instead of once per handle.
// A new store of the system's trusted authorities (SSL_CERT_FILE and SSL_CERT_DIR choose others);
// null when they cannot be read. Each client keeps one for the whole process.
X509_STORE* NewSystemAuthorityStore();

class CurlRuntime {
 public:
  static CurlRuntime& Get();
  CurlRuntime(const CurlRuntime&) = delete;
  CurlRuntime& operator=(const CurlRuntime&) = delete;

  bool Ready() const { return ready_; }
  CURLSH* Share() const { return share_; }
  // Points a handle at the shared authorities; false leaves libcurl's own bundle reading.
  bool UseSharedAuthorities(CURL* easy);

 private:
  CurlRuntime();
  ~CurlRuntime();

  bool ready_ = false;
  bool openssl_ = false;
  CURLSH* share_ = nullptr;
};

}  // namespace platform::net
