#include "tools/saverpack/sha256.h"

#include <windows.h>

#include <bcrypt.h>

namespace {

// The algorithm provider and the hash object, each closed on every path.
struct Sha256Hash {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  Sha256Hash() = default;
  Sha256Hash(const Sha256Hash &) = delete;
  Sha256Hash &operator=(const Sha256Hash &) = delete;
  ~Sha256Hash() {
    if (hash != nullptr) BCryptDestroyHash(hash);
    if (algorithm != nullptr) BCryptCloseAlgorithmProvider(algorithm, 0);
  }
};

}  // namespace

bool sha256Of(const std::vector<uint8_t> &bytes, Sha256Digest &digest, std::string &error) {
  Sha256Hash state;
  NTSTATUS status = BCryptOpenAlgorithmProvider(&state.algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  if (BCRYPT_SUCCESS(status))
    status = BCryptCreateHash(state.algorithm, &state.hash, nullptr, 0, nullptr, 0, 0);
  // The Windows build is 32-bit: a file's size fits a ULONG.
  if (BCRYPT_SUCCESS(status))
    status =
        BCryptHashData(state.hash, const_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(bytes.size()), 0);
  if (BCRYPT_SUCCESS(status))
    status = BCryptFinishHash(state.hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
  if (!BCRYPT_SUCCESS(status)) {
    error = "SHA-256: the Windows CNG digest failed";
    return false;
  }
  return true;
}
