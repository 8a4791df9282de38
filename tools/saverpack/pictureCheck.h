// Whether the installer can show a picture: a bitmap as the system's bitmap
// loader takes it, or a JPEG that its decoder reads whole. Portable, so the
// packer refuses on any system a picture that would fail on the user's.
#ifndef SAVER_TOOLS_SAVERPACK_PICTURE_CHECK_H
#define SAVER_TOOLS_SAVERPACK_PICTURE_CHECK_H

#include <cstdint>
#include <string>
#include <vector>

// "" for a picture the installer shows, else what is wrong with it.
std::string bitmapFault(const std::vector<uint8_t> &bytes);
std::string jpegFault(const std::vector<uint8_t> &bytes);

#endif
