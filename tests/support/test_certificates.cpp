#include "support/test_certificates.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>

namespace test_support {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
  void operator()(X509* cert) const { X509_free(cert); }
};
struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;
using Bio = std::unique_ptr<BIO, BioFree>;

constexpr long kDay = 24 * 60 * 60;

// P-256 keys are made in microseconds, RSA keys would cost the suite real time.
Key MakeKey() {
  return Key(EVP_EC_gen("P-256"));
}

bool AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (ext == nullptr) return false;
  bool added = X509_add_ext(cert, ext, -1) == 1;
  X509_EXTENSION_free(ext);
  return added;
}

Cert MakeCertificate(EVP_PKEY* key, const char* common_name, long serial, long not_before,
                     long not_after, X509* issuer) {
  Cert cert(X509_new());
  if (!cert) return nullptr;
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), not_before);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), not_after);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
  X509* signer = issuer != nullptr ? issuer : cert.get();
  X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
  return cert;
}

std::string ToPem(X509* cert) {
  Bio bio(BIO_new(BIO_s_mem()));
  if (!bio || PEM_write_bio_X509(bio.get(), cert) != 1) return {};
  char* data = nullptr;
  long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

std::string ToPem(EVP_PKEY* key) {
  Bio bio(BIO_new(BIO_s_mem()));
  if (!bio || PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1)
    return {};
  char* data = nullptr;
  long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

}  // namespace

TestCertificates MakeTestCertificates(CertificateFlaw flaw) {
  Key authority_key = MakeKey();
  Key server_key = MakeKey();
  if (!authority_key || !server_key) return {};

  // Each authority has a name of its own, so another run's authority is simply unknown.
  unsigned char random[8];
  if (RAND_bytes(random, sizeof random) != 1) return {};
  char authority_name[64];
  std::snprintf(authority_name, sizeof authority_name,
                "shoulu test authority %02x%02x%02x%02x%02x%02x%02x%02x", random[0], random[1],
                random[2], random[3], random[4], random[5], random[6], random[7]);
  Cert authority =
      MakeCertificate(authority_key.get(), authority_name, 1, -kDay, 30 * kDay, nullptr);
  if (!authority ||
      !AddExtension(authority.get(), authority.get(), NID_basic_constraints, "critical,CA:TRUE") ||
      !AddExtension(authority.get(), authority.get(), NID_key_usage, "critical,keyCertSign") ||
      X509_sign(authority.get(), authority_key.get(), EVP_sha256()) == 0)
    return {};

  const bool expired = flaw == CertificateFlaw::kExpired;
  const char* names =
      flaw == CertificateFlaw::kWrongName ? "DNS:elsewhere.invalid" : "IP:127.0.0.1,DNS:localhost";
  Cert server =
      MakeCertificate(server_key.get(), "shoulu test server", 2, expired ? -3 * kDay : -kDay,
                      expired ? -kDay : 30 * kDay, authority.get());
  if (!server || !AddExtension(server.get(), authority.get(), NID_subject_alt_name, names) ||
      !AddExtension(server.get(), authority.get(), NID_ext_key_usage, "serverAuth") ||
      X509_sign(server.get(), authority_key.get(), EVP_sha256()) == 0)
    return {};

  return {ToPem(authority.get()), ToPem(server.get()), ToPem(server_key.get())};
}

}  // namespace test_support
