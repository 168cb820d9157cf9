#pragma once
// The registry as the program uses it: the two roots, keys opened and created below them,
// values read into caller-sized buffers. Return codes, value types and byte counts are the
// Windows ones, so that the program's logic reads the same against the real registry and the
// in-memory fake.

#include <cstdint>
#include <string>

namespace linkscope {

using RegKey = std::uintptr_t;

// Predefined roots. Any other RegKey is a key handle returned by OpenKey or CreateKey.
constexpr RegKey kRegCurrentUser = 0x80000001u;
constexpr RegKey kRegLocalMachine = 0x80000002u;

// Windows error codes the registry returns.
constexpr long kRegOk = 0;                 // ERROR_SUCCESS
constexpr long kRegNotFound = 2;           // ERROR_FILE_NOT_FOUND
constexpr long kRegAccessDenied = 5;       // ERROR_ACCESS_DENIED
constexpr long kRegInvalidHandle = 6;      // ERROR_INVALID_HANDLE
constexpr long kRegInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
constexpr long kRegMoreData = 234;         // ERROR_MORE_DATA
constexpr long kRegNoMoreItems = 259;      // ERROR_NO_MORE_ITEMS

// Value types as stored.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

// Access asked for when a key is opened.
enum class RegAccess { Read, Write, All };

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // Opens an existing key; fails (kRegNotFound) when it does not exist.
  virtual long OpenKey(RegKey parent, const std::string& subKey, RegAccess access, RegKey* key) = 0;
  // Opens the key, creating it and any missing keys on the way.
  virtual long CreateKey(RegKey parent, const std::string& subKey, RegKey* key) = 0;
  virtual long CloseKey(RegKey key) = 0;

  // Name of the index-th subkey. *nameSize is the buffer size in characters on entry and the
  // name's length without its NUL on success.
  virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) = 0;
  // Name, type and data of the index-th value; sizes as for EnumKey and QueryValue. type and
  // data may be null.
  virtual long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                         std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) = 0;
  // Counts of subkeys and values.
  virtual long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) = 0;

  // Reads a value. *dataSize is the buffer size on entry and the stored byte count on return;
  // a value that does not fit gives kRegMoreData. type and data may be null.
  virtual long QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* dataSize) = 0;
  // Stores exactly `size` bytes; a text value written without its NUL is stored without it.
  virtual long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) = 0;
  virtual long DeleteValue(RegKey key, const std::string& name) = 0;

  // Deletes a key that has no subkeys.
  virtual long DeleteKey(RegKey parent, const std::string& subKey) = 0;
  // Deletes a key with everything below it.
  virtual long DeleteTree(RegKey parent, const std::string& subKey) = 0;
};

}  // namespace linkscope
