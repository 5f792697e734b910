#include "tools/ldtool/serve_tls.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>

namespace ld::tool::serve {
namespace {

constexpr long kValiditySeconds = 24 * 3600;

bool AddExtension(X509* cert, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (ext == nullptr) return false;
  const bool ok = X509_add_ext(cert, ext, -1) == 1;
  X509_EXTENSION_free(ext);
  return ok;
}

}  // namespace

TlsIdentity::~TlsIdentity() {
  X509_free(cert_);
  EVP_PKEY_free(key_);
}

bool TlsIdentity::MakeSelfSigned(std::string* error) {
  EVP_PKEY* key = EVP_RSA_gen(2048);
  X509* cert = key ? X509_new() : nullptr;
  bool ok = cert != nullptr;
  if (ok) {
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), kValiditySeconds);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("ldtool serve"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    ok = AddExtension(cert, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost") &&
         X509_sign(cert, key, EVP_sha256()) > 0;
  }
  if (!ok) {
    X509_free(cert);
    EVP_PKEY_free(key);
    *error = "cannot make a self-signed certificate";
    return false;
  }
  X509_free(cert_);
  EVP_PKEY_free(key_);
  cert_ = cert;
  key_ = key;
  return true;
}

bool TlsIdentity::Load(const std::string& cert_path, const std::string& key_path,
                       std::string* error) {
  FILE* in = std::fopen(cert_path.c_str(), "rb");
  X509* cert = in ? PEM_read_X509(in, nullptr, nullptr, nullptr) : nullptr;
  if (in) std::fclose(in);
  in = std::fopen(key_path.c_str(), "rb");
  EVP_PKEY* key = in ? PEM_read_PrivateKey(in, nullptr, nullptr, nullptr) : nullptr;
  if (in) std::fclose(in);
  if (cert == nullptr || key == nullptr || X509_check_private_key(cert, key) != 1) {
    X509_free(cert);
    EVP_PKEY_free(key);
    *error = "cannot read a matching certificate and key from " + cert_path + " and " + key_path;
    return false;
  }
  X509_free(cert_);
  EVP_PKEY_free(key_);
  cert_ = cert;
  key_ = key;
  return true;
}

}  // namespace ld::tool::serve
