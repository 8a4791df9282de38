// Whether a picture file's bytes are one the installer can show: a bitmap
// the system's bitmap loader takes, or a JPEG that libjpeg decodes to its
// last row. The packer reads a splash and a poster through it, so that a
// picture that would show as an empty box is found before the package ships.
// Portable.
#ifndef SAVER_COMMON_PICTURE_CHECK_H
#define SAVER_COMMON_PICTURE_CHECK_H

#include <cstdint>
#include <string>
#include <vector>

enum class PictureFormat { bitmap, jpeg };

// True when bytes hold a whole picture of format; else false with what is
// wrong, in words, in fault.
bool pictureDecodes(const std::vector<uint8_t> &bytes, PictureFormat format, std::string &fault);

#endif
