#include "common/crcUtils.h"

#include <array>

#include "common/plainMessage.h"

namespace {

using CrcTable = std::array<uint32_t, 256>;

constexpr CrcTable makeCrcTable() {
  CrcTable table{};
  for (uint32_t n = 0; n < 256; n++) {
    uint32_t c = n;
    for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

// Read-only data; the self-check guards against a damaged image in memory.
constexpr CrcTable crcTable = makeCrcTable();

uint32_t updateCrc(uint32_t crc, const unsigned char *bytes, size_t length) {
  for (size_t i = 0; i < length; i++) crc = crcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

}  // namespace

uint32_t crc32OfTable(const uint32_t table[256]) {
  uint32_t crc = 0xFFFFFFFFu;
  for (int n = 0; n < 256; n++) {
    const unsigned char word[4] = {
        static_cast<unsigned char>(table[n]), static_cast<unsigned char>(table[n] >> 8),
        static_cast<unsigned char>(table[n] >> 16), static_cast<unsigned char>(table[n] >> 24)};
    crc = updateCrc(crc, word, sizeof word);
  }
  return ~crc;
}

// Eight upper-case hex digits. Not through snprintf: in these programs that
// would link the C runtime's whole printf machinery for one number.
std::string crcTableMismatchText(uint32_t tableCrc) {
  std::string hex(8, '0');
  for (int digit = 7; digit >= 0; --digit, tableCrc >>= 4) hex[digit] = "0123456789ABCDEF"[tableCrc & 0xF];
  return "CRC32 Table CRC32 is " + hex + ", expecting $6FCF9E13";
}

bool Crc32OfString(const std::string &text, uint32_t &crc) {
  const uint32_t tableCrc = crc32OfTable(crcTable.data());
  if (tableCrc != CRC_TABLE_CHECK_VALUE) {
    showPlainMessage(crcTableMismatchText(tableCrc));
    return false;
  }
  crc = ~updateCrc(0xFFFFFFFFu, reinterpret_cast<const unsigned char *>(text.data()), text.size());
  return true;
}
