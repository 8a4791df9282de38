#include "tools/saverpack/sampleFiles.h"

std::vector<uint8_t> sampleBitmap(int width, int height, uint8_t tint) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(stride * height);
  const uint32_t headerBytes = 54;
  std::vector<uint8_t> file(headerBytes + pixelBytes, 0);
  auto put32 = [&file](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, headerBytes);
  put32(14, 40);  // BITMAPINFOHEADER
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  file[26] = 1;   // planes
  file[28] = 24;  // bits per pixel
  put32(34, pixelBytes);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t *pixel = &file[headerBytes + y * stride + x * 3];
      const int wave = ((x / 8 + y / 6) % 4) * 12;
      pixel[0] = static_cast<uint8_t>(120 + y * 120 / height + wave);  // blue
      pixel[1] = static_cast<uint8_t>(tint / 2 + x * 100 / width);     // green
      pixel[2] = static_cast<uint8_t>(30 + wave);                      // red
    }
  return file;
}

std::string sampleLicence(const std::string &saverName) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\fs20\r\n"
         "{\\b " +
         saverName +
         " licence}\\par\\par\r\n"
         "This is a sample licence written by saverpack init. Replace licence.rtf "
         "with the terms under which you give your screen saver away.\\par\r\n}\r\n";
}

std::string sampleReadMe(const std::string &saverName) {
  return saverName +
         "\r\n\r\n"
         "Thank you for installing this screen saver. Choose it in the screen saver\r\n"
         "settings of the display control panel.\r\n\r\n"
         "(A sample read-me written by saverpack init: replace readme.txt with your own.)\r\n";
}

std::string placeholderSaverProgram(const std::string &saverName) {
  return "PLACEHOLDER written by saverpack init: this is not a program.\r\n"
         "Put the screen saver program of " +
         saverName +
         " here (or point entry 6's\r\n"
         "\"file\" in manifest.json at it) before you ship the installer.\r\n";
}

std::string sampleNote(const std::string &title, const std::string &saverName) {
  return saverName + ": " + title +
         "\r\n\r\n"
         "A sample file written by saverpack init. The installer places every entry\r\n"
         "from 6 to 10, so a package carries one here; put your own file in its place.\r\n";
}
