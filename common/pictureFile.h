// A picture file, bitmap or JPEG, read into a device-independent bitmap, and
// its painting into a rectangle: the installer picture and the sample saver.
#ifndef SAVER_COMMON_PICTURE_FILE_H
#define SAVER_COMMON_PICTURE_FILE_H

#include <windows.h>

#include <string>

// The picture in path, its format chosen by the extension (".jpg" or ".jpeg"
// in any letter case: JPEG, anything else: bitmap). Null when the file is
// missing or cannot be decoded. The caller deletes the bitmap.
HBITMAP loadPictureFile(const std::string &path);

// Paints picture stretched over the rectangle, aspect ratio not kept.
void paintStretched(HDC dc, HBITMAP picture, const RECT &area);

#endif
