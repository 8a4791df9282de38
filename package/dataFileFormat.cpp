#include "package/dataFileFormat.h"

#include "common/statusCodes.h"

#include <cstring>

int32_t checkMemberCount(int32_t memberCount) {
  return memberCount < 0 || memberCount > MAX_DATA_MEMBERS ? STATUS_TOO_MANY_MEMBERS : STATUS_OK;
}

int64_t memberRecordOffset(int memberIndex) {
  return static_cast<int64_t>(sizeof(SaverSettings)) +
         static_cast<int64_t>(memberIndex - 1) * static_cast<int64_t>(sizeof(DataMemberRecord));
}

std::string memberPathOf(const DataMemberRecord &record) {
  const size_t length = strnlen(record.path, sizeof(record.path));
  if (length == sizeof(record.path)) return std::string();
  return std::string(record.path, length);
}

int32_t checkMemberHeaderOffset(int64_t headerOffset, int64_t fileSize) {
  if (headerOffset < 0 || headerOffset + static_cast<int64_t>(sizeof(DataMemberHeader)) > fileSize)
    return STATUS_SHORT_ENTRY;
  return STATUS_OK;
}

int32_t memberStoredLength(const DataMemberHeader &header, int64_t headerOffset, int64_t fileSize,
                           uint32_t &length) {
  int32_t status = checkMemberHeaderOffset(headerOffset, fileSize);
  if (status != STATUS_OK) return status;
  length = 0;
  if (header.expandedSize == 0) return STATUS_OK;
  const int64_t stored = header.compressed != 0 ? header.storedSize : header.expandedSize;
  const int64_t dataStart = headerOffset + static_cast<int64_t>(sizeof(DataMemberHeader));
  if (stored < 0 || dataStart + stored > fileSize) return STATUS_SHORT_ENTRY;
  length = static_cast<uint32_t>(stored);
  return STATUS_OK;
}

static const char PRODUCT_ERROR[] = "Lumavane Error: ";

std::string dataFileInUseText() {
  return std::string(PRODUCT_ERROR) + "Screen saver data file already in use.";
}

std::string dataFileOpenErrorText(const std::string &path, int32_t code) {
  return "Problem opening screen saver data file.\r\n\r\nFile: " + path + "\r\n\r\n" +
         std::to_string(code);
}

std::string dataFileReadErrorText(const std::string &systemText) {
  return std::string(PRODUCT_ERROR) + "Problem reading screen saver data file. " + systemText;
}

std::string dataFileCloseErrorText(const std::string &systemText) {
  return std::string("Problem closing file.\r\n\r\nFile: ") + "\r\n" + systemText;
}
