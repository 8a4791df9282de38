#include "common/pictureFile.h"

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>

#include <vector>

#include "common/cmykPixels.h"
#include "common/wholeFile.h"

namespace {

bool hasJpegExtension(const std::string &path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = path.substr(dot);
  for (char &c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension == ".jpg" || extension == ".jpeg";
}

// libjpeg reports a fatal error by calling error_exit, which must not return;
// it jumps back to the decoder instead of ending the program.
struct JpegErrorManager {
  jpeg_error_mgr standard;
  jmp_buf recovery;
};

void leaveDecoder(j_common_ptr info) {
  longjmp(reinterpret_cast<JpegErrorManager *>(info->err)->recovery, 1);
}

// A top-down 24-bit section of the decoded size, rows padded to 4 bytes.
HBITMAP createSection(int width, int height, unsigned char **bits) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void *pixels = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<unsigned char *>(pixels);
  return section;
}

// Only plain values live between setjmp and longjmp, so the jump skips no
// destructor; the caller owns the bytes.
HBITMAP decodeJpeg(const unsigned char *bytes, unsigned long size) {
  jpeg_decompress_struct info;
  JpegErrorManager errors;
  HBITMAP section = nullptr;
  info.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = leaveDecoder;
  if (setjmp(errors.recovery) != 0) {
    jpeg_destroy_decompress(&info);
    if (section != nullptr) DeleteObject(section);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes, size);
  jpeg_read_header(&info, TRUE);
  // libjpeg turns CMYK (and YCCK) only into CMYK; the row is converted here.
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;  // the byte order of a Windows bitmap
  jpeg_start_decompress(&info);
  unsigned char *bits = nullptr;
  section = createSection(static_cast<int>(info.output_width), static_cast<int>(info.output_height), &bits);
  if (section == nullptr) longjmp(errors.recovery, 1);
  const size_t stride = (info.output_width * 3 + 3) & ~size_t(3);
  // Freed with the decoder, on every path.
  JSAMPARRAY cmykRow = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                        info.output_width * 4, 1)
                            : nullptr;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = bits + stride * info.output_scanline;
    if (!cmyk) {
      jpeg_read_scanlines(&info, &row, 1);
      continue;
    }
    jpeg_read_scanlines(&info, cmykRow, 1);
    cmykRowToBgr(cmykRow[0], row, info.output_width, info.saw_Adobe_marker != 0);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return section;
}

}  // namespace

HBITMAP loadPictureFile(const std::string &path) {
  if (!hasJpegExtension(path))
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  std::vector<uint8_t> bytes;
  if (!readWholeFile(path, bytes) || bytes.empty()) return nullptr;
  return decodeJpeg(bytes.data(), static_cast<unsigned long>(bytes.size()));
}

void paintStretched(HDC dc, HBITMAP picture, const RECT &area) {
  BITMAP size;
  if (picture == nullptr || GetObjectA(picture, sizeof size, &size) == 0) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, picture);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source, 0, 0,
             size.bmWidth, size.bmHeight, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
}
