#include "packFixture.h"

#include <stdio.h>

#include <jpeglib.h>

#include "package/integrityRecord.h"
#include "package/propertyRecord.h"
#include "tests/flash/swfBuilder.h"
#include "tools/saverpack/programImage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

std::vector<uint8_t> standInProgram(size_t length, uint32_t recordedSize) {
  std::vector<uint8_t> program(length, 0x90);
  program[0] = 'M';
  program[1] = 'Z';
  const std::string tag = programSizeTag();
  std::memcpy(&program[64], tag.data(), tag.size());
  std::memcpy(&program[64 + tag.size()], &recordedSize, sizeof(recordedSize));
  // A PE32 header at 0x80 as far as signing reads it: 16 directories.
  if (length < STAND_IN_CERTIFICATE_ENTRY + 8) return program;
  const uint32_t peAt = 0x80, directories = 16;
  const uint16_t optionalSize = 224, magic = 0x10b;
  std::memcpy(&program[0x3c], &peAt, sizeof(peAt));
  std::fill(program.begin() + peAt, program.begin() + STAND_IN_CERTIFICATE_ENTRY + 8, 0);
  std::memcpy(&program[peAt], "PE\0\0", 4);
  std::memcpy(&program[peAt + 20], &optionalSize, sizeof(optionalSize));
  std::memcpy(&program[peAt + 24], &magic, sizeof(magic));
  std::memcpy(&program[peAt + 24 + 92], &directories, sizeof(directories));
  return program;
}

std::vector<uint8_t> randomBytes(size_t count, uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<uint8_t> bytes(count);
  for (uint8_t &byte : bytes) byte = static_cast<uint8_t>(generator());
  return bytes;
}

std::vector<uint8_t> compressibleBytes(size_t count) {
  const std::string line = "The quick screen saver jumps over the lazy desktop. ";
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(line[i % line.size()] + (i / 997) % 3);
  return bytes;
}

void writeBytes(const std::filesystem::path &path, const std::vector<uint8_t> &bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> readBytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScratchFolder::ScratchFolder() {
  static int serial = 0;
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  do {
    path_ = base / ("saverpack-test-" + std::to_string(std::random_device()() % 1000000) + "-" +
                    std::to_string(++serial));
  } while (std::filesystem::exists(path_));
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path writeSamplePackageSource(const std::filesystem::path &folder) {
  writeBytes(folder / "saverstart.exe", standInProgram(3000));
  writeBytes(folder / "saversetup.exe", standInProgram(5000));
  writeBytes(folder / "saverremove.exe", standInProgram(2000));
  writeBytes(folder / "impborl.dll", randomBytes(700, 1));
  writeBytes(folder / "splash.swf", fwsMovie(9, {backgroundColorTag(), longTag(2, 900), endTag()}));
  writeBytes(folder / "ocean.scr", randomBytes(1200, 2));
  writeBytes(folder / "installer.swf", compressibleBytes(2000));
  writeBytes(folder / "helper.dat", randomBytes(1, 3));
  writeBytes(folder / "notes.txt", compressibleBytes(5000));
  writeBytes(folder / "members" / "main.swf", compressibleBytes(20000));
  writeBytes(folder / "members" / "pictures" / "a.jpg", randomBytes(3000, 4));
  writeBytes(folder / "members" / "pictures" / "empty.txt", {});
  std::filesystem::path manifest = folder / "manifest.json";
  std::ofstream(manifest) << R"({
  "saverName": "My Big Screensaver",
  "installerType": 2,
  "offerControlPanel": true,
  "launcher": "saverstart.exe",
  "installer": "saversetup.exe",
  "codecLibrary": "impborl.dll",
  "entries": [
    {"index": 3, "file": "splash.swf", "destKind": 7, "compressed": true},
    {"index": 6, "file": "ocean.scr", "destKind": 2, "compressed": true},
    {"index": 7, "file": "installer.swf", "destKind": 7, "compressed": true},
    {"index": 9, "file": "helper.dat", "name": "helper1.dat", "destKind": 3},
    {"index": 10, "file": "notes.txt", "destKind": 1, "compressed": true}
  ],
  "dataFile": {"name": "ocean.dat", "compressed": true, "members": "members",
               "compressMembers": true, "movieCopies": ["movie.swf"]}
})";
  return manifest;
}

// A 24-bit bitmap file of a colour ramp.
std::vector<uint8_t> bitmapFile(int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(stride * height);
  std::vector<uint8_t> file(54 + pixelBytes, 0);
  auto put32 = [&file](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  put32(34, pixelBytes);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t *pixel = &file[54 + y * stride + x * 3];
      pixel[0] = static_cast<uint8_t>(x * 4);
      pixel[1] = static_cast<uint8_t>(y * 5);
      pixel[2] = 200;
    }
  return file;
}

bool addPropertyRecord(std::vector<uint8_t> &file, size_t programAt, uint32_t programSize,
                       const std::vector<uint8_t> &record) {
  const size_t headerAt = programAt + programSize;
  std::vector<uint8_t> package(file.begin() + static_cast<std::ptrdiff_t>(headerAt), file.end());
  InstallerHeader header;
  IntegrityRecord integrity;
  if (!appendPropertyRecord(package, programSize, record)) return false;
  std::memcpy(&header, package.data(), sizeof(header));
  if (!readIntegrityRecord(header, integrity)) return false;
  file.resize(headerAt);
  file.insert(file.end(), package.begin(), package.end());
  integrity.packageLength = static_cast<uint32_t>(package.size());
  MemorySource installer(&file[programAt], file.size() - programAt);
  uint32_t crc = 0;
  computePackageCrc(installer, programSize, integrity.packageLength, crc);
  integrity.packageCrc = crc;
  writeIntegrityRecord(header, integrity);
  std::memcpy(&file[headerAt], &header, sizeof(header));
  return true;
}

std::vector<uint8_t> tideSettingsRecord() {
  std::vector<uint8_t> record(1240);
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i * 7 + 1);
  return record;
}

void writeTidePackageFiles(const std::filesystem::path &folder) {
  writeBytes(folder / "splash.bmp", bitmapFile(96, 54));
  writeBytes(folder / "Tide.scr", compressibleBytes(30000));
  writeBytes(folder / "installer.swf", randomBytes(3000, 7));
  writeBytes(folder / "tidefx.dat", randomBytes(4000, 8));
  writeBytes(folder / "notes.txt", compressibleBytes(2500));
  writeBytes(folder / "settings.bin", tideSettingsRecord());
  writeBytes(folder / "members" / "main.swf", compressibleBytes(40000));
  writeBytes(folder / "members" / "pictures" / "a.jpg", randomBytes(5000, 9));
  writeBytes(folder / "members" / "pictures" / "deep" / "b.txt", compressibleBytes(700));
  writeBytes(folder / "members" / "pictures" / "empty.txt", {});
}

std::vector<uint8_t> jpegFile(int width, int height) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char *buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    for (size_t i = 0; i < row.size(); ++i)
      row[i] = static_cast<unsigned char>(i + size_t(info.next_scanline) * 4);
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  free(buffer);
  return bytes;
}
