// Expanding a compressed entry or member into its file with the decompression
// library carried in the package, judged by the size of the written file.
#ifndef SAVER_PACKAGE_COMPRESSED_FILE_H
#define SAVER_PACKAGE_COMPRESSED_FILE_H

#include <cstdint>
#include <string>
#include <vector>

// 0, -35 when the library does not load from the work folder, -16 when no
// file was written, -13 when its size is not expandedSize.
int32_t expandToFile(const std::string &target, const std::vector<uint8_t> &stored,
                     int32_t expandedSize);

#endif
