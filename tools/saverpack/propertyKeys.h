// The manifest keys of the package's own properties (PackageProperties,
// package/packageProperties.h), one row each in propertyKeys.cpp: the key,
// its words, its default, how inspect shows it and when extract writes it
// back. Where each is stored is the package's own table. Manifest reading,
// build, inspect, extract and init all go through these rows, so a key's
// name is written nowhere else.
#ifndef SAVER_TOOLS_SAVERPACK_PROPERTY_KEYS_H
#define SAVER_TOOLS_SAVERPACK_PROPERTY_KEYS_H

#include "package/packageProperties.h"
#include "tools/saverpack/manifestFields.h"
#include "tools/saverpack/packageBuilder.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

// What a property's default may depend on.
struct PropertyContext {
  const PackageFlags &flags;
  bool hasDataFile;
};

std::vector<std::string> propertyKeyNames();
// The key of a field, and the word that names a byte's value ("" for none).
const char *propertyKeyOf(uint8_t PackageProperties::*byte);
std::string propertyWordOf(uint8_t PackageProperties::*byte, uint8_t value);

// Reads the property keys of the manifest's top level; a key left out takes
// its default. Throws ManifestError naming the key at fault.
void readPropertyKeys(const Fields &fields, const PropertyContext &context, PackageProperties &properties);

// The keys that state the stored values again, in the table's order: what
// extract and init write.
void describePropertyKeys(const PackageProperties &stored, nlohmann::ordered_json &manifest);

// Each key with what installers take from it, for inspect's report; and the
// report's keys as one line of text ("moviePlayer none, uninstall ...").
void reportPropertyKeys(const PackageProperties &stated, nlohmann::ordered_json &report);
std::string propertyKeysText(const nlohmann::ordered_json &report);

#endif
