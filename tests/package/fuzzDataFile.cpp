// Fuzz target: a screen saver data file of any bytes: the member table, then
// each member's header, path and stored bytes.
#include "common/pathRules.h"
#include "package/dataFileFormat.h"
#include "package/installNames.h"

#include <cstdint>
#include <vector>

static DataMemberRecord table[MEMBER_TABLE_SIZE];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  MemorySource source(data, size);
  SaverSettings settings;
  if (readMemberTable(source, settings, table) != 0) return 0;
  for (int member = 1; member <= settings.memberCount; ++member) {
    isSafeMemberPath(memberPathOf(table[member]));
    DataMemberHeader header;
    std::vector<uint8_t> bytes;
    if (readMemberHeader(source, table[member], header) == 0)
      readMemberBytes(source, table[member], header, bytes);
  }
  return 0;
}
