// CRC-32 of a text (reflected polynomial 0xEDB88320, as in zip and PNG).
// It names things (the coded short name of a screen saver, the start-up
// shortcut); it never tests data.
#ifndef SAVER_COMMON_CRC_UTILS_H
#define SAVER_COMMON_CRC_UTILS_H

#include <cstdint>
#include <string>

// Stores the CRC-32 of text in crc and returns true. When the lookup table
// fails its self-check, shows a message instead, leaves crc unchanged and
// returns false.
bool Crc32OfString(const std::string &text, uint32_t &crc);

// The self-check: CRC-32 of a 256-word table taken as 1024 little-endian
// bytes, which must be CRC_TABLE_CHECK_VALUE for the standard table.
constexpr uint32_t CRC_TABLE_CHECK_VALUE = 0x6FCF9E13;
uint32_t crc32OfTable(const uint32_t table[256]);
std::string crcTableMismatchText(uint32_t tableCrc);

#endif
