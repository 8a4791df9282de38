// Expanding a compressed entry or member into its file with the decompression
// library carried in the package, judged by the size of the written file.
#ifndef SAVER_PACKAGE_COMPRESSED_FILE_H
#define SAVER_PACKAGE_COMPRESSED_FILE_H

#include <cstdint>
#include <string>
#include <vector>

// 0, STATUS_CODEC_NOT_LOADED when the library does not load from the work folder, STATUS_EXPANDED_FILE_MISSING when no
// file was written, STATUS_EXPANDED_SIZE_MISMATCH when its size is not expandedSize.
int32_t expandToFile(const std::string &target, const std::vector<uint8_t> &stored,
                     int32_t expandedSize);

#endif
