#pragma once
// CRC-32 (the reflected 0xEDB88320 polynomial, as in zip and PNG files): the check value of
// every scan journal record. `crc32Update` continues a running value, so a record's parts can be
// checked without copying them together.

#include <cstddef>
#include <cstdint>

namespace qor {

// Continues `crc` (0 to start) over `size` bytes.
uint32_t crc32Update(uint32_t crc, const void* data, std::size_t size);
inline uint32_t crc32(const void* data, std::size_t size) { return crc32Update(0, data, size); }

}  // namespace qor
