#include "tools/saverpack/sha256.h"

#include <openssl/evp.h>

bool sha256Of(const std::vector<uint8_t> &bytes, Sha256Digest &digest, std::string &error) {
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
      length != digest.size()) {
    error = "SHA-256: the OpenSSL digest failed";
    return false;
  }
  return true;
}
