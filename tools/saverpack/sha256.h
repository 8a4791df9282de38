// The SHA-256 digest of a file's bytes, which winget manifests state. The
// system's own cryptography computes it:
// OpenSSL's libcrypto natively, Windows' CNG (bcrypt) in the Windows build.
#ifndef SAVER_TOOLS_SAVERPACK_SHA256_H
#define SAVER_TOOLS_SAVERPACK_SHA256_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Sha256Digest = std::array<uint8_t, 32>;

// False when the library fails; error says so.
bool sha256Of(const std::vector<uint8_t> &bytes, Sha256Digest &digest, std::string &error);

#endif
