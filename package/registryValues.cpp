#include "package/registryValues.h"

std::string registryText(HKEY root, const std::string &keyPath, const char *name) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  DWORD type = 0, size = 0;
  std::string text;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0 &&
      (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
    text.resize(size);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text.data()), &size) !=
        ERROR_SUCCESS)
      size = 0;
    text.resize(size < text.size() ? size : text.size());
    // A text ends at its NUL; a list at its last one.
    if (type != REG_MULTI_SZ) text.resize(strnlen(text.c_str(), text.size()));
  }
  RegCloseKey(key);
  return text;
}

std::vector<std::string> subkeyNames(HKEY root, const std::string &keyPath) {
  std::vector<std::string> names;
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return names;
  char name[256];
  DWORD length = sizeof name;
  for (DWORD index = 0;
       RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++index, length = sizeof name)
    names.push_back(name);
  RegCloseKey(key);
  return names;
}

bool readRegistryCount(HKEY root, const std::string &keyPath, const std::string &name, uint32_t &count) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, value = 0, size = sizeof value;
  const bool read = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(&value),
                                     &size) == ERROR_SUCCESS &&
                    type == REG_DWORD && size == sizeof value;
  RegCloseKey(key);
  if (read) count = value;
  return read;
}

int32_t writeRegistryCount(HKEY root, const std::string &keyPath, const std::string &name, uint32_t count) {
  HKEY key;
  LONG result = RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return static_cast<int32_t>(result);
  const DWORD value = count;
  result =
      RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
  RegCloseKey(key);
  return static_cast<int32_t>(result);
}

int32_t deleteRegistryValue(HKEY root, const std::string &keyPath, const std::string &name) {
  HKEY key;
  LONG result = RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_SET_VALUE, &key);
  if (result == ERROR_FILE_NOT_FOUND) return 0;
  if (result != ERROR_SUCCESS) return static_cast<int32_t>(result);
  result = RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
  return result == ERROR_FILE_NOT_FOUND ? 0 : static_cast<int32_t>(result);
}
