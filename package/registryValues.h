// The registry reads and writes that the removal and the registration of an
// installed saver share: texts, counts, sub-key names. Windows only.
#ifndef SAVER_PACKAGE_REGISTRY_VALUES_H
#define SAVER_PACKAGE_REGISTRY_VALUES_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ value as it is stored (a list keeps
// its NUL separators); "" when missing or of another type.
std::string registryText(HKEY root, const std::string &keyPath, const char *name);

// The names of the keys directly below keyPath; none when it cannot be opened.
std::vector<std::string> subkeyNames(HKEY root, const std::string &keyPath);

// A REG_DWORD: false when missing or of another type.
bool readRegistryCount(HKEY root, const std::string &keyPath, const std::string &name, uint32_t &count);
// Creates the key when missing: 0 or the registry's error code.
int32_t writeRegistryCount(HKEY root, const std::string &keyPath, const std::string &name, uint32_t count);

// 0 also when the value or its key is missing; otherwise the registry's code.
int32_t deleteRegistryValue(HKEY root, const std::string &keyPath, const std::string &name);

#endif
