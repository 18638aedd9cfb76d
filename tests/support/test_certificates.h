#pragma once

#include <string>

namespace test_support {

// What the server certificate of a throw-away authority is wrong about, if anything.
enum class CertificateFlaw {
  kNone,       // valid now, names 127.0.0.1 and localhost
  kExpired,    // its validity ended yesterday
  kWrongName,  // names only a host that is never contacted
};

// A certificate authority made for one test run and a server certificate it signed.
// Everything stays in memory as PEM text; nothing is written to disk.
struct TestCertificates {
  std::string authority_pem;
  std::string server_certificate_pem;
  std::string server_key_pem;
};

// Empty fields when OpenSSL fails, which the server reports as a failed start.
TestCertificates MakeTestCertificates(CertificateFlaw flaw = CertificateFlaw::kNone);

}  // namespace test_support
