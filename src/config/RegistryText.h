#pragma once
// How a registry value reads as text: a REG_DWORD as its bytes from the last to the first in
// lower-case hexadecimal pairs, any other type as its data up to the first NUL.

#include <cstdint>
#include <string>

namespace linkscope {

std::string RegistryValueText(std::uint32_t type, const std::uint8_t* data, std::uint32_t size);

// The first four bytes as a little-endian integer; missing bytes count as zero.
std::int32_t RegistryValueNumber(const std::uint8_t* data, std::uint32_t size);

// A key name with every letter in upper case, the way the registry compares names: the program
// passes names in the Windows-1252 code page, and the registry folds every letter of it, not
// only A to Z ("b\xFCro" and "B\xDCRO" name one key). Letters without a single upper-case
// letter (sharp s, micro sign) stay as they are, as they do in the registry.
std::string RegistryNameUpper(const std::string& name);
bool RegistryNamesEqual(const std::string& a, const std::string& b);

}  // namespace linkscope
