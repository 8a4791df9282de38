#include "package/rangeCopy.h"

#include "common/statusCodes.h"

#include <windows.h>

namespace {

// One block read, checked and written at a time; shared, so one copy at a
// time. The CRC, folded where the processor can, costs the copy little.
const uint32_t COPY_BLOCK_BYTES = 1 << 20;
char CopyBlock[COPY_BLOCK_BYTES];

// Reads the next block of stored at offset: STATUS_SHORT_ENTRY when nothing
// more arrives before its end, or the read's own status.
int32_t readBlock(ByteSource &stored, int64_t offset, char *block, uint32_t &got) {
  const int64_t remaining = stored.size() - offset;
  const uint32_t wanted =
      remaining < COPY_BLOCK_BYTES ? static_cast<uint32_t>(remaining) : COPY_BLOCK_BYTES;
  const int32_t status = stored.readAt(offset, block, wanted, got);
  if (status == STATUS_OK && got == 0) return STATUS_SHORT_ENTRY;
  return status;
}

int32_t writeBlock(HANDLE file, const char *block, uint32_t count) {
  DWORD written = 0;
  if (!WriteFile(file, block, count, &written, nullptr)) return static_cast<int32_t>(GetLastError());
  return written == count ? STATUS_OK : STATUS_SHORT_ENTRY;
}

// Copies stored into the open file, taking the CRC of what passes.
int32_t copyBlocks(ByteSource &stored, HANDLE file, InstallObserver *watching, uint32_t &crc) {
  for (int64_t offset = 0; offset < stored.size();) {
    uint32_t got = 0;
    int32_t status = pauseBetweenBlocks(watching);
    if (status == STATUS_OK) status = readBlock(stored, offset, CopyBlock, got);
    if (status == STATUS_OK) status = writeBlock(file, CopyBlock, got);
    if (status != STATUS_OK) return status;
    crc = crc32Update(crc, CopyBlock, got);
    offset += got;
  }
  return STATUS_OK;
}

}  // namespace

int32_t copyCheckedFile(ByteSource &stored, const std::string &target, const ExpandedCrc &expected,
                        InstallObserver *watching, bool &created) {
  created = false;
  HANDLE file =
      CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
  created = true;
  uint32_t crc = 0;
  int32_t status = copyBlocks(stored, file, watching, crc);
  if (!CloseHandle(file) && status == STATUS_OK) status = static_cast<int32_t>(GetLastError());
  if (status == STATUS_OK) status = checkExpandedCrc(expected, crc);
  // Bytes that are not the ones packed, or not all of them, never stay.
  if (status != STATUS_OK && DeleteFileA(target.c_str())) created = false;
  return status;
}
