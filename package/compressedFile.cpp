#include "package/compressedFile.h"

#include "common/QRX_FileUtils.h"
#include "common/logFile.h"
#include "common/statusCodes.h"
#include "package/pk_stuff.h"
#include "package/win32File.h"

int32_t expandToFile(const std::string &target, const std::vector<uint8_t> &stored,
                     int32_t expandedSize) {
  TCompressor compressor(pathWorkFolder);
  if (!compressor.loaded()) return STATUS_CODEC_NOT_LOADED;
  // The library's own result is not trusted; the written file tells.
  compressor.Expand(target, stored.data(), static_cast<uint32_t>(stored.size()));
  int64_t size = 0;
  if (!lookUpFileSize(target, size)) return STATUS_EXPANDED_FILE_MISSING;
  logLine("sizeExtracted: " + std::to_string(size));
  return size == expandedSize ? STATUS_OK : STATUS_EXPANDED_SIZE_MISMATCH;
}
