#include "platform/net/trusted_authorities.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <climits>
#include <string_view>

#include "platform/net/curl_runtime.h"
#include "platform/net/internet_session.h"

namespace platform::net {
namespace {

// The system's authorities (SSL_CERT_FILE and SSL_CERT_DIR choose others) and the added ones.
X509_STORE* TrustStore() {
  static X509_STORE* store = NewSystemAuthorityStore();
  return store;
}

CURLcode InstallTrustStore(CURL*, void* ssl_ctx, void*) {
  X509_STORE* store = TrustStore();
  if (store == nullptr) return CURLE_SSL_CACERT_BADFILE;
  SSL_CTX_set1_cert_store(static_cast<SSL_CTX*>(ssl_ctx), store);
  return CURLE_OK;
}

}  // namespace

void UseTrustedAuthorities(CURL* easy) {
  if (CurlRuntime::Get().UseSharedAuthorities(easy)) {
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, InstallTrustStore);
  }
}

bool AddTrustedAuthority(std::string_view pem) {
  X509_STORE* store = TrustStore();
  if (store == nullptr || pem.empty() || pem.size() > INT_MAX) return false;
  BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  if (bio == nullptr) return false;
  bool added = false;
  while (X509* certificate = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr)) {
    // An authority already trusted counts as added.
    X509_STORE_add_cert(store, certificate);
    added = true;
    X509_free(certificate);
  }
  BIO_free(bio);
  ERR_clear_error();  // the end of the text is reported as an error
  return added;
}

}  // namespace platform::net
