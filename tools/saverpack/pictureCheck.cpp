#include "tools/saverpack/pictureCheck.h"

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

namespace {

uint32_t u32At(const std::vector<uint8_t> &bytes, size_t at) {
  return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
         uint32_t(bytes[at + 3]) << 24;
}

uint16_t u16At(const std::vector<uint8_t> &bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The file header (14 bytes), then the information header.
const size_t FILE_HEADER = 14;
const size_t CORE_HEADER = 12;  // the oldest form: 16-bit width and height
const size_t INFO_HEADER = 40;

struct BitmapShape {
  int64_t width = 0;
  int64_t height = 0;  // negative: rows top down
  uint16_t bitsPerPixel = 0;
  uint32_t compression = 0;
  uint32_t colours = 0;  // palette entries; 0: as many as the depth allows
};

bool readShape(const std::vector<uint8_t> &bytes, uint32_t infoSize, BitmapShape &shape) {
  if (infoSize == CORE_HEADER) {
    shape.width = u16At(bytes, FILE_HEADER + 4);
    shape.height = u16At(bytes, FILE_HEADER + 6);
    shape.bitsPerPixel = u16At(bytes, FILE_HEADER + 10);
    return u16At(bytes, FILE_HEADER + 8) == 1;
  }
  shape.width = static_cast<int32_t>(u32At(bytes, FILE_HEADER + 4));
  shape.height = static_cast<int32_t>(u32At(bytes, FILE_HEADER + 8));
  shape.bitsPerPixel = u16At(bytes, FILE_HEADER + 14);
  shape.compression = u32At(bytes, FILE_HEADER + 16);
  shape.colours = u32At(bytes, FILE_HEADER + 32);
  return u16At(bytes, FILE_HEADER + 12) == 1;
}

// libjpeg's fatal errors jump back; its warnings (data cut short or
// damaged, which it would fill with grey) count as faults too.
struct JpegErrors {
  jpeg_error_mgr standard;
  jmp_buf recovery;
  bool warned = false;
};

void leaveDecoder(j_common_ptr info) { longjmp(reinterpret_cast<JpegErrors *>(info->err)->recovery, 1); }

void noteWarning(j_common_ptr info, int level) {
  if (level < 0) reinterpret_cast<JpegErrors *>(info->err)->warned = true;
}

}  // namespace

std::string bitmapFault(const std::vector<uint8_t> &bytes) {
  if (bytes.size() < FILE_HEADER + CORE_HEADER || bytes[0] != 'B' || bytes[1] != 'M')
    return "not a bitmap file";
  const uint32_t pixelsAt = u32At(bytes, 10);
  const uint32_t infoSize = u32At(bytes, FILE_HEADER);
  if (infoSize != CORE_HEADER && (infoSize < INFO_HEADER || bytes.size() < FILE_HEADER + INFO_HEADER))
    return "unknown bitmap header";
  BitmapShape shape;
  if (!readShape(bytes, infoSize, shape)) return "a bitmap of more than one plane";
  const uint16_t depth = shape.bitsPerPixel;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
    return "a bitmap of " + std::to_string(depth) + " bits per pixel";
  // BI_RGB, or BI_BITFIELDS for 16 and 32 bits.
  if (shape.compression != 0 && !(shape.compression == 3 && (depth == 16 || depth == 32)))
    return "a compressed bitmap";
  const int64_t rows = shape.height < 0 ? -shape.height : shape.height;
  if (shape.width <= 0 || rows == 0 || shape.width > 32768 || rows > 32768)
    return "a bitmap without a size";
  const uint64_t stride = ((uint64_t(shape.width) * depth + 31) / 32) * 4;
  if (pixelsAt < FILE_HEADER + infoSize || uint64_t(pixelsAt) + stride * uint64_t(rows) > bytes.size())
    return "a bitmap cut short: its pixels run past the end of the file";
  return "";
}

std::string jpegFault(const std::vector<uint8_t> &bytes) {
  if (bytes.empty()) return "an empty file";
  jpeg_decompress_struct info;
  JpegErrors errors;
  info.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = leaveDecoder;
  errors.standard.emit_message = noteWarning;
  if (setjmp(errors.recovery) != 0) {
    jpeg_destroy_decompress(&info);
    return "a JPEG that cannot be decoded";
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             info.output_width * info.output_components, 1);
  while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, row, 1);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return errors.warned ? "a JPEG cut short or damaged" : "";
}
