#include "common/pictureCheck.h"

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

namespace {

const size_t FILE_HEADER_SIZE = 14;
const uint32_t CORE_HEADER_SIZE = 12;
const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t LARGEST_INFO_HEADER_SIZE = 124;
const uint32_t RGB = 0, RLE8 = 1, RLE4 = 2, BITFIELDS = 3;

uint32_t littleEndian(const std::vector<uint8_t> &bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int k = count - 1; k >= 0; --k) value = value << 8 | bytes[at + static_cast<size_t>(k)];
  return value;
}

struct BitmapLayout {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: the rows run top down
  uint32_t planes = 0;
  uint32_t bitCount = 0;
  uint32_t compression = RGB;
  uint32_t coloursUsed = 0;
  uint32_t pixelOffset = 0;
};

bool fail(std::string &fault, const std::string &why) {
  fault = why;
  return false;
}

// The file and info headers; false when the bytes are too few for them.
bool readBitmapLayout(const std::vector<uint8_t> &bytes, BitmapLayout &layout, std::string &fault) {
  if (bytes.size() < FILE_HEADER_SIZE + CORE_HEADER_SIZE || bytes[0] != 'B' || bytes[1] != 'M')
    return fail(fault, "it is not a bitmap file (no \"BM\" header)");
  layout.pixelOffset = littleEndian(bytes, 10, 4);
  layout.headerSize = littleEndian(bytes, FILE_HEADER_SIZE, 4);
  if (layout.headerSize == CORE_HEADER_SIZE) {
    layout.width = littleEndian(bytes, 18, 2);
    layout.height = littleEndian(bytes, 20, 2);
    layout.planes = littleEndian(bytes, 22, 2);
    layout.bitCount = littleEndian(bytes, 24, 2);
    return true;
  }
  if (layout.headerSize < INFO_HEADER_SIZE || layout.headerSize > LARGEST_INFO_HEADER_SIZE)
    return fail(fault, "its header size " + std::to_string(layout.headerSize) + " is none a bitmap has");
  if (bytes.size() < FILE_HEADER_SIZE + layout.headerSize) return fail(fault, "it ends inside its header");
  layout.width = static_cast<int32_t>(littleEndian(bytes, 18, 4));
  layout.height = static_cast<int32_t>(littleEndian(bytes, 22, 4));
  layout.planes = littleEndian(bytes, 26, 2);
  layout.bitCount = littleEndian(bytes, 28, 2);
  layout.compression = littleEndian(bytes, 30, 4);
  layout.coloursUsed = littleEndian(bytes, 46, 4);
  return true;
}

bool knownPixelFormat(const BitmapLayout &layout) {
  switch (layout.compression) {
    case RGB:
      return layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8 ||
             layout.bitCount == 16 || layout.bitCount == 24 || layout.bitCount == 32;
    case RLE8:
      return layout.bitCount == 8 && layout.height > 0;
    case RLE4:
      return layout.bitCount == 4 && layout.height > 0;
    case BITFIELDS:
      return layout.bitCount == 16 || layout.bitCount == 32;
    default:
      return false;
  }
}

// The bytes between the headers and the pixels: the colour table, and the
// three colour masks that follow a plain info header.
uint64_t tableBytes(const BitmapLayout &layout) {
  const bool core = layout.headerSize == CORE_HEADER_SIZE;
  uint64_t colours = 0;
  if (layout.bitCount <= 8) colours = layout.coloursUsed != 0 ? layout.coloursUsed : 1u << layout.bitCount;
  uint64_t masks = layout.compression == BITFIELDS && layout.headerSize == INFO_HEADER_SIZE ? 12 : 0;
  return colours * (core ? 3 : 4) + masks;
}

bool bitmapDecodes(const std::vector<uint8_t> &bytes, std::string &fault) {
  BitmapLayout layout;
  if (!readBitmapLayout(bytes, layout, fault)) return false;
  const int64_t rows = layout.height < 0 ? -layout.height : layout.height;
  if (layout.width <= 0 || rows == 0 || layout.planes != 1)
    return fail(fault, "its size " + std::to_string(layout.width) + "x" + std::to_string(layout.height) +
                           " or plane count is not a picture's");
  if (!knownPixelFormat(layout))
    return fail(fault, "its pixel format (" + std::to_string(layout.bitCount) + " bits, compression " +
                           std::to_string(layout.compression) + ") is none the installer shows");
  const uint64_t headersEnd = FILE_HEADER_SIZE + layout.headerSize + tableBytes(layout);
  if (headersEnd > bytes.size()) return fail(fault, "it ends inside its colour table");
  if (layout.pixelOffset < headersEnd || layout.pixelOffset >= bytes.size())
    return fail(fault,
                "its pixel data offset " + std::to_string(layout.pixelOffset) + " lies outside the file");
  if (layout.compression == RLE8 || layout.compression == RLE4) return true;
  const uint64_t stride = (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
  if (layout.pixelOffset + stride * static_cast<uint64_t>(rows) > bytes.size())
    return fail(fault, "it is cut short: its pixels need " +
                           std::to_string(stride * static_cast<uint64_t>(rows)) + " bytes after offset " +
                           std::to_string(layout.pixelOffset));
  return true;
}

// libjpeg reports a fatal error by calling error_exit, which must not return;
// it jumps back instead. A warning (data cut short, a damaged segment) is
// kept as the fault: the installer would show grey where the picture ends.
struct JpegErrors {
  jpeg_error_mgr standard;
  jmp_buf recovery;
  char firstMessage[JMSG_LENGTH_MAX];
};

void leaveDecoder(j_common_ptr info) { longjmp(reinterpret_cast<JpegErrors *>(info->err)->recovery, 1); }

void keepFirstMessage(j_common_ptr info) {
  JpegErrors *errors = reinterpret_cast<JpegErrors *>(info->err);
  if (errors->firstMessage[0] == '\0') errors->standard.format_message(info, errors->firstMessage);
}

// Only plain values live between setjmp and longjmp, so the jump skips no
// destructor.
bool jpegDecodes(const std::vector<uint8_t> &bytes, char (&message)[JMSG_LENGTH_MAX]) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  errors.firstMessage[0] = '\0';
  info.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = leaveDecoder;
  errors.standard.output_message = keepFirstMessage;
  if (setjmp(errors.recovery) != 0) {
    keepFirstMessage(reinterpret_cast<j_common_ptr>(&info));
    jpeg_destroy_decompress(&info);
    snprintf(message, JMSG_LENGTH_MAX, "%s", errors.firstMessage);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             info.output_width * info.output_components, 1);
  while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, row, 1);
  jpeg_finish_decompress(&info);
  const bool whole = errors.standard.num_warnings == 0;
  jpeg_destroy_decompress(&info);
  snprintf(message, JMSG_LENGTH_MAX, "%s", errors.firstMessage);
  return whole;
}

}  // namespace

bool pictureDecodes(const std::vector<uint8_t> &bytes, PictureFormat format, std::string &fault) {
  if (format == PictureFormat::bitmap) return bitmapDecodes(bytes, fault);
  if (bytes.empty()) return fail(fault, "it is empty");
  char message[JMSG_LENGTH_MAX];
  if (jpegDecodes(bytes, message)) return true;
  return fail(fault, std::string("it is not a whole JPEG picture (") + message + ")");
}
