#include "tools/saverpack/inspect.h"

#include "tools/saverpack/packageReport.h"
#include "tools/saverpack/propertyKeys.h"
#include "tools/saverpack/verify.h"

#include <string>

using json = nlohmann::ordered_json;

namespace {

std::string quoted(const json &text) { return text.get<std::string>().insert(0, "\"") + "\""; }

void printDataFile(const json &dataFile, std::ostream &out) {
  if (dataFile.contains("error")) {
    out << "  " << dataFile["error"].get<std::string>() << "\n";
    return;
  }
  out << "  data file: memberCount " << dataFile["memberCount"]
      << ", settings value at 1208: " << dataFile["firstMemberType"] << "\n";
  for (const json &member : dataFile["members"]) {
    out << "    member " << member["index"] << ": type " << member["type"] << " " << quoted(member["path"]);
    if (member.contains("copyOfMovie"))
      out << " copy of the movie\n";
    else if (member.contains("error"))
      out << " " << member["error"].get<std::string>() << "\n";
    else
      out << (member["compressed"].get<bool>() ? " compressed " : " stored ") << member["storedSize"]
          << " bytes, expands to " << member["expandedSize"] << ", attribute " << member["attribute"]
          << "\n";
  }
}

void printEntry(const json &entry, std::ostream &out) {
  out << "  entry " << entry["index"] << ": " << quoted(entry["name"]) << " destKind " << entry["destKind"]
      << (entry["compressed"].get<bool>() ? " compressed" : " stored") << " bytes " << entry["start"]
      << ".." << entry["end"] << " expandedSize " << entry["expandedSize"] << "\n";
  if (entry.contains("dataFile")) printDataFile(entry["dataFile"], out);
}

void printText(const json &report, std::ostream &out) {
  if (!report.contains("installer") && !report.contains("launcher")) {
    printDataFile(report["dataFile"], out);
    return;
  }
  if (report.contains("launcher")) out << "launcher program: " << report["launcher"]["size"] << " bytes\n";
  if (report.contains("installer")) {
    const json &installer = report["installer"];
    out << "installer program: " << installer["size"] << " bytes";
    if (report.contains("launcher")) out << " at " << installer["offset"];
    out << "\n";
  }
  if (report.contains("error")) {
    out << report["error"].get<std::string>() << "\n";
    return;
  }
  const json &header = report["header"];
  out << "package header at " << report["installer"]["size"] << ":\n"
      << "  saverName " << quoted(header["saverName"]) << "\n";
  const char *flags[] = {"installerType",
                         "showLicense",
                         "carriesReadMe",
                         "carriesFlashInstaller",
                         "flashInstallerVersionIndex",
                         "offerControlPanel"};
  for (const char *flag : flags) out << (flag == flags[0] ? "  " : ", ") << flag << " " << header[flag];
  out << "\n  " << propertyKeysText(header) << "\n";
  if (header.contains("poster")) {
    const json &poster = header["poster"];
    out << "  poster at " << poster["range"].get<std::string>() << ": "
        << (poster.contains("error") ? poster["error"] : poster["format"]).get<std::string>() << "\n";
  }
  for (const json &entry : report["entries"]) printEntry(entry, out);
}

// The integrity record of the installer and its package, checked; false for
// a data file alone or a file whose layers could not be told apart.
bool checkIntegrity(const std::vector<uint8_t> &file, const json &report, IntegrityReport &integrity) {
  if (!report.contains("installer") || report.contains("error")) return false;
  const size_t offset = report["installer"]["offset"].get<size_t>();
  const std::vector<uint8_t> installer(file.begin() + static_cast<std::ptrdiff_t>(offset), file.end());
  integrity = checkInstallerIntegrity(installer, report["installer"]["size"].get<uint32_t>());
  return true;
}

}  // namespace

bool inspectFile(const std::vector<uint8_t> &file, std::ostream &out, bool asJson) {
  json report;
  if (!reportFile(file, report)) return false;
  IntegrityReport integrity;
  const bool checked = checkIntegrity(file, report, integrity);
  if (asJson) {
    if (checked)
      report["integrity"] = {{"recordPresent", integrity.recordPresent},
                             {"checked", integrity.lines},
                             {"problems", integrity.problems},
                             {"refusedNames", integrity.refused}};
    out << jsonText(report);
  } else {
    printText(report, out);
    if (checked) printIntegrityReport(integrity, out);
  }
  return true;
}
