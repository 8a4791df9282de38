#include "installer/uninstallEntry.h"

#include "package/installedSaver.h"
#include "package/packageVersion.h"

#include <utility>

namespace {

// The uninstaller's switch for removing without a question or a box.
const char QUIET_UNINSTALL_SWITCH[] = " /q";

EntryValue text(const char *name, const std::string &value) { return EntryValue{name, value}; }

EntryValue number(const char *name, uint32_t value) { return EntryValue{name, "", value, true}; }

void addVersionValues(const InstallPlan &plan, const EntryFacts &facts, std::vector<EntryValue> &values) {
  PackageVersion version;
  // The package's reader took only what the packer checked; a version it
  // cannot parse is shown as it is, without its parts.
  const bool parsed = parseVersion(plan.version, version);
  values.push_back(text("DisplayVersion", plan.version));
  if (parsed) {
    values.push_back(number("VersionMajor", version.parts[0]));
    values.push_back(number("VersionMinor", version.parts[1]));
  }
  values.push_back(text("InstallLocation", plan.folders.saver));
  if (!facts.installDate.empty()) values.push_back(text("InstallDate", facts.installDate));
  if (!plan.homepage.empty()) values.push_back(text("URLInfoAbout", plan.homepage));
  if (!plan.supportUrl.empty()) values.push_back(text("HelpLink", plan.supportUrl));
  if (facts.carriedUninstaller)
    values.push_back(text("QuietUninstallString", facts.command + QUIET_UNINSTALL_SWITCH));
}

}  // namespace

const char *const OPTIONAL_ENTRY_VALUES[] = {
    "Publisher",   "DisplayVersion", "VersionMajor", "VersionMinor",         "InstallLocation",
    "InstallDate", "URLInfoAbout",   "HelpLink",     "QuietUninstallString", LANGUAGES_VALUE};
const size_t OPTIONAL_ENTRY_VALUE_COUNT = sizeof(OPTIONAL_ENTRY_VALUES) / sizeof(OPTIONAL_ENTRY_VALUES[0]);

std::vector<EntryValue> uninstallEntryValues(const InstallPlan &plan, const EntryFacts &facts) {
  std::vector<EntryValue> values = {text("DisplayName", plan.displayName),
                                    text("UninstallString", facts.command), text("DisplayIcon", plan.icon)};
  if (!plan.publisher.empty()) values.push_back(text("Publisher", plan.publisher));
  values.push_back(number("EstimatedSize", facts.sizeKiB));
  values.push_back(number("NoModify", 1));
  values.push_back(number("NoRepair", 1));
  if (!plan.version.empty()) addVersionValues(plan, facts, values);
  if (!plan.languages.empty()) values.push_back(text(LANGUAGES_VALUE, plan.languages));
  return values;
}

// Without printf, whose formatting machinery the installer does not carry.
std::string installDateText(int year, int month, int day) {
  std::string date;
  for (const auto &[value, digits] : {std::pair{year, 4}, std::pair{month, 2}, std::pair{day, 2}}) {
    std::string part(digits, '0');
    for (int at = digits - 1, rest = value; at >= 0; --at, rest /= 10)
      part[at] = static_cast<char>('0' + rest % 10);
    date += part;
  }
  return date;
}
