#include "win32/Win32Registry.h"

#include <windows.h>

#include <vector>

namespace linkscope {

namespace {

HKEY ToHkey(RegKey key) {
  if (key == kRegCurrentUser) return HKEY_CURRENT_USER;
  if (key == kRegLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

REGSAM ToSam(RegAccess access) {
  switch (access) {
    case RegAccess::Read: return KEY_READ;
    case RegAccess::Write: return KEY_WRITE;
    case RegAccess::All: return KEY_ALL_ACCESS;
  }
  return KEY_READ;
}

DWORD* AsDword(std::uint32_t* p) {
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "DWORD is 32 bits");
  return reinterpret_cast<DWORD*>(p);
}

}  // namespace

long Win32Registry::OpenKey(RegKey parent, const std::string& subKey, RegAccess access,
                            RegKey* key) {
  HKEY h = nullptr;
  const LONG rc = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, ToSam(access), &h);
  if (rc == ERROR_SUCCESS) *key = FromHkey(h);
  return rc;
}

long Win32Registry::CreateKey(RegKey parent, const std::string& subKey, RegKey* key) {
  HKEY h = nullptr;
  const LONG rc = RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr);
  if (rc == ERROR_SUCCESS) *key = FromHkey(h);
  return rc;
}

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name,
                            std::uint32_t* nameSize) {
  return RegEnumKeyExA(ToHkey(key), index, name, AsDword(nameSize), nullptr, nullptr, nullptr,
                       nullptr);
}

long Win32Registry::EnumValue(RegKey key, std::uint32_t index, char* name,
                              std::uint32_t* nameSize, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t* dataSize) {
  return RegEnumValueA(ToHkey(key), index, name, AsDword(nameSize), nullptr, AsDword(type), data,
                       AsDword(dataSize));
}

long Win32Registry::QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) {
  return RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, AsDword(subKeys), nullptr,
                          nullptr, AsDword(values), nullptr, nullptr, nullptr, nullptr);
}

long Win32Registry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* dataSize) {
  return RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, AsDword(type), data,
                          AsDword(dataSize));
}

long Win32Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  if ((type == REG_SZ || type == REG_EXPAND_SZ) && data != nullptr && size != 0 &&
      data[size - 1] != 0) {
    std::vector<std::uint8_t> copy(data, data + size);
    if (GetVersion() & 0x80000000u) {
      // Windows 9x takes a text up to its NUL whatever the count says: it gets one.
      copy.push_back(0);
    } else {
      // The NT family counts a NUL found right after a text's counted bytes as part of the
      // value. The program stores some texts without their NUL on purpose, so the text goes
      // from a copy whose next byte is not a NUL.
      copy.push_back(0xFF);
    }
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, copy.data(), size);
  }
  return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

long Win32Registry::DeleteValue(RegKey key, const std::string& name) {
  return RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Registry::DeleteKey(RegKey parent, const std::string& subKey) {
  return RegDeleteKeyA(ToHkey(parent), subKey.c_str());
}

long Win32Registry::DeleteTree(RegKey parent, const std::string& subKey) {
  return RegDeleteTreeA(ToHkey(parent), subKey.c_str());
}

}  // namespace linkscope
