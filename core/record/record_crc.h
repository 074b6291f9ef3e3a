#pragma once
// The record file's 32-bit checksum: reflected polynomial 0xEDB88320 with the
// register starting at 0xEDB88320 (not 0xFFFFFFFF) and no final inversion.
#include <cstddef>
#include <cstdint>

namespace tessaly::record {

// Bit-at-a-time form, the definition.
uint32_t RecordCrc(const unsigned char* bytes, size_t length);

// The same value through the 16-entry (nibble) table, low nibble first.
uint32_t RecordCrcNibble(const unsigned char* bytes, size_t length);

// The same value at memory speed: carry-less multiplication folds 16 bytes at
// a time where the processor has it, a byte table does the rest. The form
// the readers use, as every loaded sector is checked.
uint32_t RecordCrcFast(const unsigned char* bytes, size_t length);

}  // namespace tessaly::record
