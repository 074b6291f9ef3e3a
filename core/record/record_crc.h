#pragma once
// The record file's 32-bit checksum: reflected polynomial 0xEDB88320 with the
// register starting at 0xEDB88320 (not 0xFFFFFFFF) and no final inversion.
#include <cstddef>
#include <cstdint>

namespace tessaly::record {

// Bit-at-a-time form, the definition.
uint32_t RecordCrc(const unsigned char* bytes, size_t length);

// The same value through the 16-entry (nibble) table, low nibble first; the
// form the decoder uses.
uint32_t RecordCrcNibble(const unsigned char* bytes, size_t length);

}  // namespace tessaly::record
