#include "pngWriter.h"

#include <zlib.h>

#include <cstdio>

namespace driver {
namespace {

void appendBigEndian(std::vector<uint8_t> &out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 24));
  out.push_back(static_cast<uint8_t>(value >> 16));
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

// Length, type, data and the CRC over type and data.
void appendChunk(std::vector<uint8_t> &out, const char type[4], const std::vector<uint8_t> &data) {
  appendBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, &out[typeAt], static_cast<uInt>(out.size() - typeAt));
  appendBigEndian(out, static_cast<uint32_t>(crc));
}

bool isConsistent(const RgbImage &image) {
  // PNG limits each side to 2^31 - 1; the row bytes must fit in memory.
  if (image.width == 0 || image.height == 0 || image.width > 0x7fffffffu || image.height > 0x7fffffffu)
    return false;
  const uint64_t expected = uint64_t{image.width} * image.height * 3;
  return expected == image.pixels.size();
}

// Each row gets filter type 0 (none) in front.
bool compressRows(const RgbImage &image, std::vector<uint8_t> &compressed) {
  const size_t rowBytes = size_t{image.width} * 3;
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * image.height);
  for (uint32_t y = 0; y < image.height; ++y) {
    raw.push_back(0);
    const uint8_t *row = &image.pixels[y * rowBytes];
    raw.insert(raw.end(), row, row + rowBytes);
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  compressed.resize(size);
  if (compress2(compressed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
    return false;
  compressed.resize(size);
  return true;
}

}  // namespace

bool writePng(const std::string &path, const RgbImage &image) {
  if (!isConsistent(image)) return false;
  std::vector<uint8_t> compressed;
  if (!compressRows(image, compressed)) return false;

  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> file(signature, signature + 8);
  std::vector<uint8_t> header;
  appendBigEndian(header, image.width);
  appendBigEndian(header, image.height);
  // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  appendChunk(file, "IHDR", header);
  appendChunk(file, "IDAT", compressed);
  appendChunk(file, "IEND", {});

  FILE *out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  const bool closed = std::fclose(out) == 0;
  if (written && closed) return true;
  std::remove(path.c_str());
  return false;
}

}  // namespace driver
