#include "package/packageProperties.h"

#include "common/statusCodes.h"
#include "package/integrityRecord.h"
#include "package/uninstallMark.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

const size_t MOVIE_PLAYER_OFFSET = INTEGRITY_RECORD_OFFSET + offsetof(IntegrityRecord, moviePlayer);

const PropertyField FIELDS[] = {
    {.byte = &PackageProperties::moviePlayer, .maxLength = 1, .headerOffset = MOVIE_PLAYER_OFFSET},
    {.byte = &PackageProperties::uninstallMark, .maxLength = 1, .headerOffset = UNINSTALL_MARK_OFFSET},
    {.text = &PackageProperties::publisher, .maxLength = PUBLISHER_FIELD, .headerOffset = PUBLISHER_OFFSET},
    {.text = &PackageProperties::version, .maxLength = VERSION_FIELD, .tag = VERSION_TAG},
    {.text = &PackageProperties::homepage, .maxLength = URL_FIELD, .tag = HOMEPAGE_TAG},
    {.text = &PackageProperties::supportUrl, .maxLength = URL_FIELD, .tag = SUPPORT_URL_TAG},
    {.byte = &PackageProperties::scope, .maxLength = 1, .tag = SCOPE_TAG},
    {.text = &PackageProperties::languages, .maxLength = LANGUAGES_FIELD, .tag = LANGUAGES_TAG},
    {.text = &PackageProperties::posterRange, .maxLength = POSTER_RANGE_FIELD, .tag = POSTER_TAG},
};

bool inHeader(const PropertyField &field) { return field.tag == 0; }

bool insideIntegrityRecord(const PropertyField &field) {
  return field.headerOffset >= INTEGRITY_RECORD_OFFSET &&
         field.headerOffset < INTEGRITY_RECORD_OFFSET + sizeof(IntegrityRecord);
}

const uint8_t *headerBytes(const InstallerHeader &header) {
  return reinterpret_cast<const uint8_t *>(&header);
}

void readHeaderField(const InstallerHeader &header, const PropertyField &field,
                     PackageProperties &properties) {
  const uint8_t *bytes = headerBytes(header) + field.headerOffset;
  if (field.byte != nullptr) {
    properties.*field.byte = bytes[0];
  } else {
    const char *text = reinterpret_cast<const char *>(bytes);
    (properties.*field.text).assign(text, strnlen(text, field.maxLength));
  }
}

// The fields of table that lie in the header; fields inside the integrity
// record only when it is there.
void readHeaderFields(const InstallerHeader &header, const PropertyTable &table,
                      PackageProperties &properties) {
  IntegrityRecord record;
  const bool recordThere = readIntegrityRecord(header, record);
  for (size_t i = 0; i < table.count; ++i) {
    const PropertyField &field = table.fields[i];
    if (inHeader(field) && (recordThere || !insideIntegrityRecord(field)))
      readHeaderField(header, field, properties);
  }
}

bool hasIntegrityRecord(const InstallerHeader &header) {
  IntegrityRecord record;
  return readIntegrityRecord(header, record);
}

bool fits(const PropertyField &field, const std::string &value) {
  if (field.byte != nullptr) return value.size() == 1;
  return value.size() <= field.maxLength && value.find('\0') == std::string::npos;
}

const PropertyField *fieldOfTag(const PropertyTable &table, uint16_t tag) {
  for (size_t i = 0; i < table.count; ++i)
    if (table.fields[i].tag == tag) return &table.fields[i];
  return nullptr;
}

}  // namespace

const PropertyTable PACKAGE_PROPERTIES = {FIELDS, sizeof(FIELDS) / sizeof(FIELDS[0])};

const PropertyField *propertyFieldOf(std::string PackageProperties::*text) {
  for (const PropertyField &field : FIELDS)
    if (field.text == text) return &field;
  return nullptr;
}

PackageProperties headerProperties(const InstallerHeader &header) {
  PackageProperties properties;
  if (hasIntegrityRecord(header)) readHeaderFields(header, PACKAGE_PROPERTIES, properties);
  return properties;
}

PackageProperties storedHeaderProperties(const InstallerHeader &header) {
  PackageProperties properties;
  readHeaderFields(header, PACKAGE_PROPERTIES, properties);
  return properties;
}

int32_t takeRecordProperties(const PropertyRecord &record, const PropertyTable &table,
                             PackageProperties &properties) {
  // All or nothing: a damaged record leaves the properties as they were.
  PackageProperties taken = properties;
  for (const PropertyItem &item : record.items) {
    const PropertyField *field = fieldOfTag(table, item.tag);
    if (field == nullptr) continue;  // a property of a newer packer
    if (!fits(*field, item.value)) return STATUS_PACKAGE_DAMAGED;
    if (field->byte != nullptr)
      taken.*field->byte = static_cast<uint8_t>(item.value[0]);
    else
      taken.*field->text = item.value;
  }
  properties = std::move(taken);
  return STATUS_OK;
}

int32_t readPackageProperties(ByteSource &package, uint32_t programSize, const InstallerHeader &header,
                              PackageProperties &properties, const PropertyTable &table) {
  properties = PackageProperties();
  if (!hasIntegrityRecord(header)) return STATUS_OK;
  readHeaderFields(header, table, properties);
  PropertyRecord record;
  int32_t status = readPropertyRecord(package, programSize, header, record);
  if (status == STATUS_OK) status = takeRecordProperties(record, table, properties);
  return status;
}

void writeHeaderProperties(const PackageProperties &properties, InstallerHeader &header) {
  uint8_t *bytes = reinterpret_cast<uint8_t *>(&header);
  for (const PropertyField &field : FIELDS) {
    if (!inHeader(field)) continue;
    uint8_t *at = bytes + field.headerOffset;
    if (field.byte != nullptr) {
      *at = properties.*field.byte;
      continue;
    }
    const std::string &text = properties.*field.text;
    std::memset(at, 0, field.maxLength);
    // A text of the field's full length has no zero byte: readers stop at the field's end.
    // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
    std::memcpy(at, text.data(), text.size() < field.maxLength ? text.size() : field.maxLength);
  }
}

void markHeaderPropertyBytes(const InstallerHeader &header, std::vector<bool> &taken) {
  for (const PropertyField &field : FIELDS) {
    if (!inHeader(field)) continue;
    size_t count = 1;
    if (field.text != nullptr) {
      const char *text = reinterpret_cast<const char *>(headerBytes(header) + field.headerOffset);
      count = std::min<size_t>(strnlen(text, field.maxLength) + 1, field.maxLength);
    }
    for (size_t i = 0; i < count; ++i) taken[field.headerOffset + i] = true;
  }
}

std::vector<PropertyItem> recordPropertyItems(const PackageProperties &properties,
                                              const PropertyTable &table) {
  std::vector<PropertyItem> items;
  for (size_t i = 0; i < table.count; ++i) {
    const PropertyField &field = table.fields[i];
    if (inHeader(field)) continue;
    if (field.byte != nullptr && properties.*field.byte != 0)
      items.push_back({field.tag, std::string(1, static_cast<char>(properties.*field.byte))});
    if (field.text != nullptr && !(properties.*field.text).empty())
      items.push_back({field.tag, properties.*field.text});
  }
  return items;
}
