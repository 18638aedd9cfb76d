#include "platform/net/curl_runtime.h"

#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstring>
#include <mutex>

namespace platform::net {
namespace {

std::mutex share_locks[CURL_LOCK_DATA_LAST];

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
  share_locks[data].lock();
}
void UnlockShare(CURL*, curl_lock_data data, void*) {
  share_locks[data].unlock();
}

// The system's trusted authorities (SSL_CERT_FILE and SSL_CERT_DIR choose others), read once.
X509_STORE* SharedAuthorities() {
  static X509_STORE* store = NewSystemAuthorityStore();
  return store;
}

CURLcode InstallAuthorities(CURL*, void* ssl_ctx, void*) {
  X509_STORE* store = SharedAuthorities();
  if (store == nullptr) return CURLE_SSL_CACERT_BADFILE;
  SSL_CTX_set1_cert_store(static_cast<SSL_CTX*>(ssl_ctx), store);
  return CURLE_OK;
}

}  // namespace

X509_STORE* NewSystemAuthorityStore() {
  X509_STORE* made = X509_STORE_new();
  if (made != nullptr && X509_STORE_set_default_paths(made) != 1) {
    X509_STORE_free(made);
    made = nullptr;
  }
  return made;
}

CurlRuntime& CurlRuntime::Get() {
  static CurlRuntime runtime;
  return runtime;
}

CurlRuntime::CurlRuntime() {
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return;
  const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  openssl_ = info != nullptr && info->ssl_version != nullptr &&
             std::strncmp(info->ssl_version, "OpenSSL/", 8) == 0;
  share_ = curl_share_init();
  if (share_ == nullptr) return;
  curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, LockShare);
  curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, UnlockShare);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  ready_ = true;
}

CurlRuntime::~CurlRuntime() {
  if (share_ != nullptr) curl_share_cleanup(share_);
}

bool CurlRuntime::UseSharedAuthorities(CURL* easy) {
  if (!openssl_) return false;
  // Without a bundle named, libcurl reads no file; the callback brings the shared store.
  curl_easy_setopt(easy, CURLOPT_CAINFO, nullptr);
  curl_easy_setopt(easy, CURLOPT_CAPATH, nullptr);
  curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, InstallAuthorities);
  return true;
}

}  // namespace platform::net
