// The poster: a bitmap or JPEG picture that the installer shows in place of
// a movie it cannot play. Its bytes lie in the package behind the stored
// entries, just before the property record, whose poster item locates them
// as "start length" in decimal, start counted like every entry's from the
// installer program's first byte. The package CRC covers them like any
// stored bytes; the record's 64 KiB would not hold a picture. Portable.
#ifndef SAVER_PACKAGE_POSTER_RANGE_H
#define SAVER_PACKAGE_POSTER_RANGE_H

#include "package/packageFormat.h"
#include "package/packageProperties.h"

#include <cstdint>
#include <string>
#include <vector>

// Far more than any picture the window's 482 x 272 pixels need.
constexpr uint32_t POSTER_MAX = 16u << 20;

enum class PosterFormat { unknown, bitmap, jpeg };

// The format its first bytes name: "BM" or a JPEG's start of image.
PosterFormat posterFormatOf(const std::vector<uint8_t> &poster);

// Reads the poster that properties locate into poster, nothing when they
// name none. STATUS_PACKAGE_DAMAGED when the range is not two decimal
// numbers, or does not lie wholly behind the header and inside the package,
// or is empty or longer than POSTER_MAX; else an I/O code.
int32_t readPoster(ByteSource &package, uint32_t programSize, const PackageProperties &properties,
                   std::vector<uint8_t> &poster);

// Appends poster to package (a header and its stored bytes, for a program of
// programSize bytes) and sets properties' range to it; nothing for no
// bytes. False when it is longer than POSTER_MAX or the package would
// outgrow 2 GB.
bool appendPoster(std::vector<uint8_t> &package, uint32_t programSize, const std::vector<uint8_t> &poster,
                  PackageProperties &properties);

#endif
