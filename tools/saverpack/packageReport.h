// What a file holds, as JSON: the layers of an installer or launcher file,
// its package header and entries, and its data file's settings and members;
// or the members of a data file given alone. "saverpack inspect" shows it as
// text or as JSON, "saverpack extract" writes it as header.json.
#ifndef SAVER_TOOLS_SAVERPACK_PACKAGE_REPORT_H
#define SAVER_TOOLS_SAVERPACK_PACKAGE_REPORT_H

#include <nlohmann/json.hpp>

#include <cstdint>
#include <vector>

// False when the bytes are neither a program with a package nor a data file.
bool reportFile(const std::vector<uint8_t> &file, nlohmann::ordered_json &report);

// The data file's part of the report.
nlohmann::ordered_json reportDataFile(const std::vector<uint8_t> &dataFile);

// JSON text of a report; bytes that are no UTF-8 in names show as U+FFFD.
std::string jsonText(const nlohmann::ordered_json &value);

#endif
