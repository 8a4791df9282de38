// Building blocks for packer and package tests: stand-in programs that carry
// the size constant, sample bytes, and a scratch folder.
#ifndef SAVER_TESTS_SAVERPACK_PACK_FIXTURE_H
#define SAVER_TESTS_SAVERPACK_PACK_FIXTURE_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Where a stand-in program keeps the fields that signing changes.
const size_t STAND_IN_CHECKSUM = 0xd8;
const size_t STAND_IN_CERTIFICATE_ENTRY = 0x118;

// A program image of length bytes whose size constant holds recordedSize,
// with a PE header as far as signing reads it.
std::vector<uint8_t> standInProgram(size_t length, uint32_t recordedSize);
inline std::vector<uint8_t> standInProgram(size_t length) {
  return standInProgram(length, static_cast<uint32_t>(length));
}

std::vector<uint8_t> randomBytes(size_t count, uint32_t seed);
// Text-like bytes that implode well.
std::vector<uint8_t> compressibleBytes(size_t count);

// A 24-bit bitmap file of a colour ramp.
std::vector<uint8_t> bitmapFile(int width, int height);
// A JPEG of a colour ramp, as a camera or an editor would write it.
std::vector<uint8_t> jpegFile(int width, int height);

void writeBytes(const std::filesystem::path &path, const std::vector<uint8_t> &bytes);
std::vector<uint8_t> readBytes(const std::filesystem::path &path);

// A fresh folder below the system's temporary folder, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;
  const std::filesystem::path &path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A complete package source in folder: stand-in launcher and installer, a
// codec library, entries 3, 6, 7, 9, 10 and a members folder (with a
// sub-folder, an empty file and compressible and random members), and the
// manifest "manifest.json" that names them. Returns the manifest's path.
std::filesystem::path writeSamplePackageSource(const std::filesystem::path &folder);

// Appends record to the package of an installer file (its program at
// programAt, programSize bytes long, its package behind it to the file's
// end), points entry 0 at it, and seals the package's integrity record again:
// false when the record is too long or the package has no integrity record.
bool addPropertyRecord(std::vector<uint8_t> &file, size_t programAt, uint32_t programSize,
                       const std::vector<uint8_t> &record);

// The files that the installer test manifests (tests/installer/manifests)
// name, apart from the programs in "bin": a bitmap splash, "Tide.scr",
// entries 7, 9 and 10, a settings record and members in sub-folders.
void writeTidePackageFiles(const std::filesystem::path &folder);
// The settings record those packages carry (before the packer sets memberCount).
std::vector<uint8_t> tideSettingsRecord();

#endif
