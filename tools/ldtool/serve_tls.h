// The certificate of the loopback portal's HTTPS listener: made at start
// (a self-signed RSA certificate for 127.0.0.1, valid for a day) or read
// from PEM files the operator gives. Main thread, before the server starts.
#pragma once

#include <string>

typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;

namespace ld::tool::serve {

// Owns a certificate and its key; empty when making or reading failed.
class TlsIdentity {
 public:
  TlsIdentity() = default;
  TlsIdentity(const TlsIdentity&) = delete;
  TlsIdentity& operator=(const TlsIdentity&) = delete;
  ~TlsIdentity();

  // A fresh self-signed certificate; false with *error on failure.
  bool MakeSelfSigned(std::string* error);
  // Certificate and key from PEM files; false with *error on failure.
  bool Load(const std::string& cert_path, const std::string& key_path, std::string* error);

  X509* certificate() const { return cert_; }
  EVP_PKEY* key() const { return key_; }

 private:
  X509* cert_ = nullptr;
  EVP_PKEY* key_ = nullptr;
};

}  // namespace ld::tool::serve
