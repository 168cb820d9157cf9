#pragma once
// How a registry value reads as text: a REG_DWORD as its bytes from the last to the first in
// lower-case hexadecimal pairs, any other type as its data up to the first NUL.

#include <cstdint>
#include <string>

namespace linkscope {

std::string RegistryValueText(std::uint32_t type, const std::uint8_t* data, std::uint32_t size);

// The first four bytes as a little-endian integer; missing bytes count as zero.
std::int32_t RegistryValueNumber(const std::uint8_t* data, std::uint32_t size);

}  // namespace linkscope
